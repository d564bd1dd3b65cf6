#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

#include "ui/controls/offscreen_buffer.h"
#include "ui/main/strip_mapping.h"

namespace rmt4::ui {

class SkinnedButton;
class SkinnedSlider;
class SkinnedFader;
class SkinnedLabel;

/// The controls every mixing strip has; each can be switched off by the
/// strip's parent (it is then parked off-screen and takes no input).
enum class StripControl : int {
  NameLabel,
  PanLabel,
  LevelLabel,
  EnterButton,
  MuteButton,
  PflButton,
  PhantomButton,
  LeftButton,
  RightButton,
  Pan,
  Fader,
};

/// What the input strip and the output strip share: the stretched background,
/// the name and read-out labels, the six channel buttons (index = StripCode
/// 0..5), the pan/balance slider and the fader, laid out at a scale, their
/// texts, and the notifications to the parent (ControlEdited, wParam = strip
/// index, lParam = StripCode).
class StripBase : public QWidget {
  Q_OBJECT

 public:
  void SetIndex(int index) { index_ = index; }
  [[nodiscard]] int index() const { return index_; }

  /// Every nominal coordinate and font size is multiplied by `scale`; the
  /// parent sets it before resizing the strip.
  void SetScale(double scale);
  [[nodiscard]] double scale() const { return scale_; }
  /// The size at scale 1: that of the strip's background image.
  [[nodiscard]] QSize nominalSize() const { return backgroundImage_.size(); }

  void SetControlShown(StripControl control, bool shown);
  [[nodiscard]] bool controlShown(StripControl control) const;

  /// The raw parameter value the control `code` represents now.
  [[nodiscard]] virtual int ReadControl(StripCode code) const = 0;
  /// Shows the parameter value `raw` on control `code`; sends nothing.
  void ApplyValue(StripCode code, int raw);

  /// The strip's controls in the order Tab walks them, from the top down (the
  /// output strip's bus column last); Tab passes over those that take no focus.
  [[nodiscard]] std::vector<QWidget*> TabStops() const;

  /// Accessors for tests and the strip bank.
  [[nodiscard]] SkinnedButton& button(int buttonIndex) const;
  [[nodiscard]] SkinnedButton& button(StripCode code) const { return button(static_cast<int>(code)); }
  [[nodiscard]] SkinnedFader& fader() const { return *fader_; }
  [[nodiscard]] SkinnedSlider& pan() const { return *pan_; }
  [[nodiscard]] SkinnedLabel& nameLabel() const { return *labels_[kNameLabel]; }
  [[nodiscard]] SkinnedLabel& panLabel() const { return *labels_[kPanLabel]; }
  [[nodiscard]] SkinnedLabel& levelLabel() const { return *labels_[kLevelLabel]; }
  [[nodiscard]] const OffscreenBuffer& background() const { return background_; }

 protected:
  /// Button looks (SetState).
  static constexpr int kButtonReleased = 1;
  static constexpr int kButtonPressed = 2;

  /// `backgroundId` is the strip's bitmap, whose size is the nominal size;
  /// `routingTop` the nominal top of the L/R buttons.
  StripBase(QWidget* parent, int backgroundId, int routingTop);

  /// Adds a button with its nominal rectangle and skin; its index is the
  /// next free one.
  SkinnedButton& AddButton(const QRect& nominal, int pngId);
  /// Places `control` at `nominal` scaled by the strip's scale on every layout.
  void AddPlacement(QWidget& control, const QRect& nominal);

  /// Sends ControlEdited for control `code` to the parent and returns once it was handled.
  void Notify(StripCode code);

  [[nodiscard]] bool ButtonPressed(int buttonIndex) const;
  [[nodiscard]] bool ButtonPressed(StripCode code) const { return ButtonPressed(static_cast<int>(code)); }
  /// ReadControl of the controls both strips read alike (48V, L, R, pan, fader).
  [[nodiscard]] int ReadCommonControl(StripCode code) const;

  /// A click the strip handles itself (48V, the bus buttons); false leaves it
  /// to the common rule: ENTER, MUTE, PFL, L and R report their new state.
  [[nodiscard]] virtual bool OnOwnButtonClicked(int buttonIndex) = 0;
  [[nodiscard]] virtual QString NameText() const = 0;
  /// The caption of button `buttonIndex` in the current language.
  [[nodiscard]] virtual QString ButtonCaption(int buttonIndex) const;

  /// Stretches the background to the client size and places every control.
  void LayOut();
  void RefreshTexts();
  /// Shows the strip's name (NameText) on its label and to screen readers.
  void ShowName();
  void RefreshPanText();
  void RefreshLevelText();

  bool event(QEvent* event) override;
  /// Enter on any of the strip's controls opens its editor, as its ENTER does.
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  static constexpr int kNameLabel = 0;
  static constexpr int kPanLabel = 1;
  static constexpr int kLevelLabel = 2;

  struct Placement {
    QWidget* control;
    QRect nominal;
    bool shown;  // false: parked off-screen by the parent's choice
  };

  [[nodiscard]] QRect Scaled(const QRect& nominal) const;
  [[nodiscard]] QWidget& ControlWidget(StripControl control) const;
  [[nodiscard]] Placement& PlacementOf(const QWidget& control);
  [[nodiscard]] const Placement& PlacementOf(const QWidget& control) const;
  void OnButtonClicked(int buttonIndex);
  void ApplyFonts();
  /// A control switched off by the parent takes no input (it is parked anyway).
  void DisableInput(StripControl control);

  QImage backgroundImage_;
  OffscreenBuffer background_;
  int index_ = 0;
  double scale_ = 1.0;
  std::array<SkinnedLabel*, 3> labels_{};
  std::vector<SkinnedButton*> buttons_;
  SkinnedSlider* pan_ = nullptr;
  SkinnedFader* fader_ = nullptr;
  /// The level the fader stands for: the console's word (between or above
  /// the fader's steps too) or the step the user moved it to.
  std::uint16_t levelWord_ = 0;
  std::vector<Placement> placements_;
};

}  // namespace rmt4::ui
