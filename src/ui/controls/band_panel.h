#pragma once

#include <QImage>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <optional>

#include "dsp/band_field_steps.h"
#include "dsp/band_field_text.h"
#include "ui/controls/band_panel_layout.h"
#include "ui/controls/host_background.h"
#include "ui/controls/skinned_frame_cache.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// The panel that edits one parametric EQ band in the channel editors: the
/// band number, a vertical gain fader (−24 … +12 dB) and three entry fields
/// below it for gain, frequency and Q, plus three band-type buttons the
/// hosts hide. The user drags or clicks the fader, types into a field
/// (committed with Enter, or by leaving it with Tab or a click; text that
/// is not a number brings the field's value back and reports nothing),
/// turns the wheel or presses the arrow keys; every change is sent
/// synchronously to the parent as a window message numbered by the control
/// identifier, with wParam = `bandIndex` and lParam = the BandField that
/// changed, or kBandTypeChanged. The host then reads value(), gain() or
/// bandType().
///
/// Typical host sequence: construct, SetBandIndex, SetShowTypeButtons(false),
/// SetSource, SetField for each field.
class BandPanel : public QWidget {
  Q_OBJECT

 public:
  /// The identifier of the channel editors' band panels.
  static constexpr int kDefaultControlId = 6024;
  /// The entry fields' identifiers (their object names): gain, frequency, Q.
  static constexpr std::array<int, 3> kFieldIds{1124, 1125, 1126};
  /// lParam of a band-type change.
  static constexpr int kBandTypeChanged = 3;
  /// Band types: peaking and the two shelves.
  static constexpr int kPeaking = 7;
  static constexpr int kHighShelf = 5;
  static constexpr int kLowShelf = 6;

  explicit BandPanel(QWidget* parent, int controlId = kDefaultControlId);

  /// Loads the panel's skin (numbered image 161) and copies the background
  /// from `source` (the host's off-screen buffer, located in the top-level
  /// window's coordinates; null gives light grey). False, and nothing drawn,
  /// when the image does not exist.
  bool SetSource(const OffscreenBuffer* source);

  /// Makes `value` the value of `field` (for the gain also the fader's) and
  /// shows it, except in a field the user is typing into: that text stays
  /// until the user commits or leaves it. A value that is not finite is ignored.
  void SetField(BandField field, double value);
  /// The value `field` holds once its text is read and moved `delta` steps
  /// (0: snapped onto the grid or into the range); none when the
  /// text is not a number. The caller stores it with SetField.
  [[nodiscard]] std::optional<double> StepField(BandField field, int delta) const;

  void SetBandIndex(int index);
  /// Draw and hit-test the band-type buttons (on by default; hosts switch them off).
  void SetShowTypeButtons(bool show);
  /// 1: the panel is located in its parent's buffer; 2: in the top-level window's (default).
  void SetAncestorLevel(int level);
  /// Hides the panel's skin and fields: only the host background is drawn and input is ignored.
  void SetSkinVisible(bool visible);

  [[nodiscard]] int bandIndex() const { return bandIndex_; }
  /// The value `field` was last given, by SetField or a commit.
  [[nodiscard]] double value(BandField field) const { return values_[static_cast<std::size_t>(field)]; }
  [[nodiscard]] double gain() const { return value(BandField::kGain); }
  [[nodiscard]] int bandType() const { return bandType_; }
  [[nodiscard]] QString fieldText(BandField field) const { return Field(field).text(); }
  [[nodiscard]] bool dragging() const { return dragging_; }
  [[nodiscard]] bool focusLook() const { return focusLook_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  [[nodiscard]] QLineEdit& Field(BandField field) const;
  [[nodiscard]] bool InputAllowed() const;
  void LayOut();
  /// The field's text read, moved by `delta`, shown again and reported;
  /// text that is not a number gives way to the field's value, unreported.
  void StepAndReport(BandField field, int delta);
  /// Whether the user has typed into `field` and not yet committed it.
  [[nodiscard]] bool BeingEdited(BandField field) const;
  /// Left/Right step the frequency, Up/Down the gain, Page Up/Down the gain
  /// ten steps; false for other keys.
  bool HandleArrowKey(int key);
  void ClickOutsideThumb(QPoint at);
  void Notify(int changed);
  void Compose(QImage& frame);

  int controlId_;
  int bandIndex_ = 0;
  /// Gain, frequency and Q, as last set or committed.
  std::array<double, 3> values_{};
  GainRange gains_;
  int bandType_ = kPeaking;
  bool showTypeButtons_ = true;
  bool skinVisible_ = true;
  bool focusLook_ = false;
  bool dragging_ = false;
  /// The field with keyboard focus, if any: the one the wheel steps.
  const QLineEdit* activeField_ = nullptr;
  std::array<QLineEdit*, 3> fields_{};
  QImage skin_;
  const OffscreenBuffer* backgroundSource_ = nullptr;
  int ancestorLevel_ = static_cast<int>(AncestorLevel::TopLevel);
  BandPanelLayout layout_;
  QFont fieldFont_;
  SkinnedFrameCache frame_;
};

}  // namespace rmt4::ui
