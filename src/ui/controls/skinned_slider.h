#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "ui/controls/skinned_value_control.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// The horizontal skinned slider: a band with a track, a thumb in a resting
/// and a focused look, optionally an on/off button at its right end and, in
/// the captioned layout, a caption above the band. It holds a real value in
/// [minValue, maxValue], in whole units at or above `fineThreshold` and in
/// tenths below it. Every change the user makes is sent synchronously to the
/// parent as a window message numbered by the control identifier, with
/// wParam = `sliderIndex` and lParam = the value truncated; hosts read the
/// exact value back with GetValue.
///
/// Typical host sequence: construct, SetSkin, range setters, SetValue.
class SkinnedSlider : public SkinnedValueControl {
  Q_OBJECT

 public:
  /// The identifier of the strip and editor sliders; the editor frame's slider uses 6024.
  static constexpr int kDefaultControlId = 4024;
  /// Resolution of values below `fineThreshold`.
  static constexpr double kFineStep = 0.1;
  /// What the toggle adds to GetValue while it is on.
  static constexpr int kToggleAmount = 500;

  explicit SkinnedSlider(QWidget* parent, int controlId = kDefaultControlId);

  /// Loads numbered image `pngId` as the skin, laid out as row `style` (0..4)
  /// of the style table, and copies the background from `source` (the host's
  /// off-screen buffer; null gives light grey). False, and nothing drawn,
  /// when the image does not exist or the style is unknown.
  bool SetSkin(const OffscreenBuffer* source, int pngId, int style);

  /// Shows `v` as it is (not quantised, not clamped: a value outside the range
  /// is drawn at the range's end and read back unchanged). With the toggle
  /// enabled, a value of at least kToggleAmount switches the toggle on and is
  /// reduced by it. Leaves the keyboard focus where it is: values come from
  /// the console, and only the user chooses what the keys edit. Ignored while
  /// the user drags the thumb, so that echoes from the console do not fight the hand.
  void SetValue(double v);
  /// The value, plus kToggleAmount when the toggle is enabled and on.
  [[nodiscard]] double GetValue() const;

  /// The caption drawn in the captioned layout.
  void SetCaption(const QString& text);
  [[nodiscard]] const QString& captionText() const { return captionText_; }
  /// When not empty, the caption is rebuilt at every paint as the value
  /// formatted with this printf-style text (at most one floating-point
  /// conversion, e.g. "Gain:%0.1fdB"); any other format is shown as it stands.
  void SetCaptionFormat(const QString& format);

  void SetSliderIndex(int index) { sliderIndex_ = index; }
  void SetMinValue(double value);
  void SetMaxValue(double value);
  [[nodiscard]] double minValue() const { return minValue_; }
  [[nodiscard]] double maxValue() const { return maxValue_; }
  /// Values at or above it move in whole units, values below it in tenths (default 0).
  void SetFineThreshold(double threshold) { fineThreshold_ = threshold; }
  /// 0: the skin's band stretched over the control; 1: the whole skin with the caption above the band.
  void SetCaptionLayout(int layout);
  /// The green-yellow-red tint over the track (on by default; the hosts switch it off).
  void SetShowLevelTint(bool show);
  /// An on/off button at the right end of the band (SetSkin switches it on).
  void SetToggleEnabled(bool enabled);
  /// Hides the thumb alone; input is ignored while it is hidden.
  void SetThumbVisible(bool visible);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  [[nodiscard]] bool InputAllowed() const override;
  void LayOut() override;
  /// Source rows of every skin piece: the band's rows, or the whole image in the captioned layout.
  [[nodiscard]] QRect SourceRows() const;
  [[nodiscard]] double Clamped(double v) const;
  [[nodiscard]] double Quantise(double v) const;
  /// Where the value lies between the range ends, 0..1 (0 for an empty range).
  [[nodiscard]] double Fraction() const;
  [[nodiscard]] int ThumbX() const;
  [[nodiscard]] QRect ThumbBox() const;
  void StepUp() override;
  void StepDown() override;
  void MoveToEnd(bool top) override;
  [[nodiscard]] bool DragTo(const QPoint& at) override;
  [[nodiscard]] KeyAction ActionForKey(int key) const override;
  void Notify() override;
  void Compose(QImage& frame) override;
  void DrawLevelTint(QPainter& painter) const;
  void DrawCaption(QPainter& painter);

  int sliderIndex_ = 0;
  double value_ = 0.0;
  double minValue_ = 0.0;
  double maxValue_ = 100.0;
  double fineThreshold_ = 0.0;
  QString captionText_;
  QString captionFormat_;
  int captionLayout_ = 0;
  bool showLevelTint_ = true;
  bool toggleEnabled_ = false;
  int toggleValue_ = 0;
  bool thumbVisible_ = true;

  // Geometry at the current size.
  double trackStartX_ = 0.0;
  double trackEndX_ = 0.0;
  double trackCentreY_ = 0.0;
  double tintThickness_ = 0.0;
  int thumbW_ = 0;
  int thumbH_ = 0;
  QRect toggleRect_;
};

}  // namespace rmt4::ui
