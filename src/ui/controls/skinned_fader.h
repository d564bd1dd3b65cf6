#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>

#include "ui/controls/skinned_value_control.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// The long skinned fader of the channel strips and the channel editor
/// frame: a slot with tick marks and a cap, holding an integer `position` in
/// [minValue, maxValue] (the strips use 0..280 and convert positions to
/// levels). Every change the user makes is sent synchronously to the parent
/// as a window message numbered by the control identifier, with wParam =
/// `faderIndex` and lParam = the position clamped into the range.
///
/// Typical host sequence: construct, SetSkin, SetMinValue/SetMaxValue,
/// SetSetScale, SetPosition. `enabled` is the widget's own enabled state:
/// a disabled fader draws the passive cap and takes no input.
class SkinnedFader : public SkinnedValueControl {
  Q_OBJECT

 public:
  explicit SkinnedFader(QWidget* parent, int controlId = kFaderMoved);

  /// Loads numbered image `pngId` as the skin, laid out as row `style` (0..3)
  /// of the style table, and copies the background from `source` (the host's
  /// off-screen buffer; null gives light grey). False, and nothing drawn,
  /// when the image does not exist or the style is unknown.
  bool SetSkin(int style, const OffscreenBuffer* source, int pngId);

  /// `position` := trunc(setScale · x). Ignored while the user drags the cap,
  /// so that echoes from the console do not fight the hand.
  void SetPosition(double x);
  /// The position as last set or dragged (clamped when painted and notified).
  [[nodiscard]] int position() const { return position_; }

  void SetFaderIndex(int index) { faderIndex_ = index; }
  void SetMinValue(int value);
  void SetMaxValue(int value);
  [[nodiscard]] int minValue() const { return minValue_; }
  [[nodiscard]] int maxValue() const { return maxValue_; }
  /// The factor SetPosition applies (default 10; the hosts use 1).
  void SetSetScale(int scale) { setScale_ = scale; }
  [[nodiscard]] int setScale() const { return setScale_; }
  /// Wheel and key step (default 1).
  void SetStep(double step) { step_ = step; }
  /// Positions beyond it step ten times as far (default 30000).
  void SetCoarseThreshold(int threshold) { coarseThreshold_ = threshold; }
  /// True: the position runs along y (default); false: along x.
  void SetVertical(bool vertical);

 protected:
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  [[nodiscard]] bool InputAllowed() const override;
  void LayOut() override;
  /// The cap centre along the fader's axis for the current position.
  [[nodiscard]] double CapCentre() const;
  [[nodiscard]] QRect CapBox() const;
  /// A rectangle given along and across the fader's axis.
  [[nodiscard]] QRectF Oriented(double along, double across, double alongSize, double acrossSize) const;
  void ClampPosition();
  void StepUp() override;
  void StepDown() override;
  void MoveToEnd(bool top) override;
  [[nodiscard]] bool DragTo(const QPoint& at) override;
  [[nodiscard]] KeyAction ActionForKey(int key) const override;
  void Notify() override;
  void Compose(QImage& frame) override;

  int faderIndex_ = 0;
  int position_ = 50;
  int minValue_ = 0;
  int maxValue_ = 100;
  int setScale_ = 10;
  double step_ = 1.0;
  int coarseThreshold_ = 30000;
  bool vertical_ = true;

  // Geometry at the current size; the unscaled strip fader until the first resize.
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  double posAtMin_ = 275.0;
  double posAtMax_ = 18.0;
  double crossCentre_ = 29.0;
  int capW_ = 22;
  int capH_ = 36;
};

}  // namespace rmt4::ui
