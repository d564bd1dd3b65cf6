#include "ui/main/strip_base.h"

#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

#include "i18n/label_id.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/strip_texts.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"
#include "ui/platform/translated.h"
#include "ui/platform/window_message.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

// Controls find themselves in the strip's background by the strip's coordinates.
constexpr int kParentCoordinates = 1;

// Single line, centred both ways.
constexpr std::uint32_t kTextFlags = 0x50000025;
constexpr int kLabelFontSize = 12;
constexpr std::uint32_t kLabelColour = 0xC8FAFAFA;
constexpr int kButtonFontSize = 13;
constexpr std::uint32_t kButtonColour = 0xFAFFFFFF;

constexpr int kReadoutImage = 146;
constexpr qreal kReadoutFrameWidth = 78;
constexpr qreal kReadoutFrameHeight = 22;

// Where the parent parks a control it switched off.
constexpr int kParkedTop = -1000;

struct ButtonLayout {
  QRect nominal;
  int pngId;
};

// ENTER, MUTE, PFL, 48V; L and R follow at the strip's routing row.
constexpr std::array<ButtonLayout, 4> kUpperButtons{{
    {QRect(10, 48, 60, 30), 138},
    {QRect(10, 87, 60, 30), 136},
    {QRect(10, 126, 60, 30), 137},
    {QRect(10, 165, 60, 30), 139},
}};
constexpr int kRoutingButtonImage = 140;

constexpr QRect kNameRect(2, 16, 78, 22);
constexpr QRect kPanTextRect(2, 247, 78, 22);
constexpr QRect kLevelTextRect(2, 295, 78, 22);
constexpr QRect kPanRect(11, 271, 60, 15);
constexpr QRect kFaderRect(11, 326, 59, 293);

constexpr int kPanImage = 142;
constexpr int kPanStyle = 2;
constexpr double kPanMin = 0.0;
constexpr double kPanMax = 200.0;
constexpr double kPanCentre = 100.0;
constexpr int kFaderImage = 141;
constexpr int kFaderStyle = 0;
constexpr int kFaderScale = 1;

}  // namespace

StripBase::StripBase(QWidget* parent, int backgroundId, int routingTop)
    : QWidget(parent), backgroundImage_(LoadArtwork(backgroundId)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(backgroundImage_.size());

  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = new SkinnedLabel(this);
    labels_[i]->SetBackgroundSource(&background_);
    labels_[i]->SetAncestorLevel(kParentCoordinates);
  }
  AddPlacement(*labels_[kNameLabel], kNameRect);
  AddPlacement(*labels_[kPanLabel], kPanTextRect);
  AddPlacement(*labels_[kLevelLabel], kLevelTextRect);
  labels_[kPanLabel]->SetImage(kReadoutImage, kReadoutFrameWidth, kReadoutFrameHeight);
  labels_[kLevelLabel]->SetImage(kReadoutImage, kReadoutFrameWidth, kReadoutFrameHeight);

  for (const ButtonLayout& layout : kUpperButtons) AddButton(layout.nominal, layout.pngId);
  AddButton(QRect(10, routingTop, 31, 24), kRoutingButtonImage);
  AddButton(QRect(41, routingTop, 31, 24), kRoutingButtonImage);
  button(StripCode::Mute).SetState(kButtonReleased);
  button(StripCode::Pfl).SetState(kButtonReleased);
  button(StripCode::Phantom48V).SetState(kButtonPressed);
  button(StripCode::Left).SetState(kButtonPressed);
  button(StripCode::Right).SetState(kButtonPressed);

  pan_ = new SkinnedSlider(this, kLabelOrSelector);
  pan_->setGeometry(kPanRect);
  pan_->SetAncestorLevel(kParentCoordinates);
  pan_->SetShowLevelTint(false);
  pan_->SetSkin(&background_, kPanImage, kPanStyle);
  pan_->SetToggleEnabled(false);
  pan_->SetCaptionLayout(0);
  pan_->SetMinValue(kPanMin);
  pan_->SetMaxValue(kPanMax);
  pan_->SetValue(kPanCentre);
  AddPlacement(*pan_, kPanRect);

  fader_ = new SkinnedFader(this, kFaderMoved);
  fader_->setGeometry(kFaderRect);
  fader_->SetAncestorLevel(kParentCoordinates);
  fader_->SetSkin(kFaderStyle, &background_, kFaderImage);
  fader_->SetMinValue(0);
  fader_->SetMaxValue(kStripFaderTop);
  fader_->SetSetScale(kFaderScale);
  fader_->SetPosition(0);
  fader_->SetEndKeyTop(ZeroDbStep());
  AddPlacement(*fader_, kFaderRect);

  LayOut();
  PostWindowMessage(this, kRefreshTexts, 0, 0);
}

SkinnedButton& StripBase::AddButton(const QRect& nominal, int pngId) {
  auto* button = new SkinnedButton(this, kButtonClicked);
  button->SetButtonIndex(static_cast<int>(buttons_.size()));
  button->SetAncestorLevel(kParentCoordinates);
  // The skin's frame count follows from the width at this moment: the nominal one.
  button->setGeometry(nominal);
  button->SetSkin(&background_, pngId);
  buttons_.push_back(button);
  AddPlacement(*button, nominal);
  return *button;
}

void StripBase::AddPlacement(QWidget& control, const QRect& nominal) {
  placements_.push_back({&control, nominal, true});
}

std::vector<QWidget*> StripBase::TabStops() const {
  std::vector<QWidget*> stops;
  for (const Placement& placement : placements_) stops.push_back(placement.control);
  return stops;
}

SkinnedButton& StripBase::button(int buttonIndex) const {
  return *buttons_.at(static_cast<std::size_t>(buttonIndex));
}

void StripBase::SetScale(double scale) {
  if (scale == scale_) return;
  scale_ = scale;
  LayOut();
}

QWidget& StripBase::ControlWidget(StripControl control) const {
  switch (control) {
    case StripControl::NameLabel:
      return *labels_[kNameLabel];
    case StripControl::PanLabel:
      return *labels_[kPanLabel];
    case StripControl::LevelLabel:
      return *labels_[kLevelLabel];
    case StripControl::Pan:
      return *pan_;
    case StripControl::Fader:
      return *fader_;
    default:
      return button(static_cast<int>(control) - static_cast<int>(StripControl::EnterButton));
  }
}

StripBase::Placement& StripBase::PlacementOf(const QWidget& control) {
  return *std::find_if(placements_.begin(), placements_.end(),
                       [&](const Placement& placement) { return placement.control == &control; });
}

const StripBase::Placement& StripBase::PlacementOf(const QWidget& control) const {
  return *std::find_if(placements_.begin(), placements_.end(),
                       [&](const Placement& placement) { return placement.control == &control; });
}

void StripBase::SetControlShown(StripControl control, bool shown) {
  PlacementOf(ControlWidget(control)).shown = shown;
  if (!shown) DisableInput(control);
  LayOut();
}

bool StripBase::controlShown(StripControl control) const { return PlacementOf(ControlWidget(control)).shown; }

void StripBase::DisableInput(StripControl control) {
  switch (control) {
    case StripControl::Pan:
      pan_->SetSkinVisible(false);
      break;
    case StripControl::Fader:
      fader_->SetSkinVisible(false);
      break;
    case StripControl::NameLabel:
    case StripControl::PanLabel:
    case StripControl::LevelLabel:
      break;  // labels take no input
    default:
      static_cast<SkinnedButton&>(ControlWidget(control)).SetShown(false);
      break;
  }
}

QRect StripBase::Scaled(const QRect& nominal) const {
  const int left = static_cast<int>(nominal.left() * scale_);
  const int top = static_cast<int>(nominal.top() * scale_);
  return QRect(left, top, static_cast<int>(nominal.width() * scale_), static_cast<int>(nominal.height() * scale_));
}

void StripBase::LayOut() {
  if (backgroundImage_.isNull() || width() <= 0 || height() <= 0) return;
  background_.Recreate(0, 0, width(), height());
  background_.StretchFrom(backgroundImage_, 0, 0, width(), height(), 0, 0, backgroundImage_.width(),
                          backgroundImage_.height());
  for (const Placement& placement : placements_) {
    QRect rect = Scaled(placement.nominal);
    if (!placement.shown) rect.moveTop(kParkedTop);
    placement.control->setGeometry(rect);
  }
  ApplyFonts();
  update();
}

void StripBase::ApplyFonts() {
  const int labelSize = static_cast<int>(kLabelFontSize * scale_);
  for (SkinnedLabel* label : labels_) label->SetTextStyle(kTextFlags, labelSize, kCaptionFace, kLabelColour);
  const int buttonSize = static_cast<int>(kButtonFontSize * scale_);
  for (SkinnedButton* each : buttons_) each->SetTextStyle(kTextFlags, buttonSize, kCaptionFace, kButtonColour);
}

// Sent, not posted: the window reads the control back while it still shows
// what the user did (a bus switch right after a fader move cannot slip in between).
void StripBase::Notify(StripCode code) {
  SendWindowMessage(parentWidget(), kControlEdited, index_, static_cast<int>(code));
}

bool StripBase::ButtonPressed(int buttonIndex) const { return button(buttonIndex).state() == kButtonPressed; }

void StripBase::OnButtonClicked(int buttonIndex) {
  if (OnOwnButtonClicked(buttonIndex)) return;
  switch (const auto code = static_cast<StripCode>(buttonIndex)) {
    case StripCode::Enter:
    case StripCode::Mute:
    case StripCode::Pfl:
    case StripCode::Left:
    case StripCode::Right:
      Notify(code);
      break;
    default:
      break;  // 48V is each strip's own; the output strip's does nothing
  }
}

int StripBase::ReadCommonControl(StripCode code) const {
  switch (code) {
    case StripCode::Phantom48V:
      return ButtonPressed(code) ? 1 : 0;
    case StripCode::Left:
    case StripCode::Right:
      return ButtonPressed(code) ? kRoutedLevel : 0;
    case StripCode::Pan:
      return static_cast<int>(pan_->GetValue());
    case StripCode::Fader:
      return LevelAtStep(fader_->position() / fader_->setScale());
    default:
      return 0;
  }
}

void StripBase::ApplyValue(StripCode code, int raw) {
  switch (code) {
    case StripCode::Mute:
      // The caller passes the channel-on state: on means not muted.
      button(code).SetState(raw != 0 ? kButtonReleased : kButtonPressed);
      break;
    case StripCode::Pfl:
    case StripCode::Phantom48V:
    case StripCode::Left:
    case StripCode::Right:
      button(code).SetState(raw <= 0 ? kButtonReleased : kButtonPressed);
      break;
    case StripCode::Pan:
      pan_->SetValue(raw);
      RefreshPanText();
      break;
    case StripCode::Fader:
      // A level above the fader's top leaves the fader where it is; the text shows the level itself.
      levelWord_ = static_cast<std::uint16_t>(raw);
      if (const std::optional<int> step = FaderStepForLevel(levelWord_)) fader_->SetPosition(*step);
      RefreshLevelText();
      break;
    default:
      break;
  }
}

QString StripBase::ButtonCaption(int buttonIndex) const {
  switch (static_cast<StripCode>(buttonIndex)) {
    case StripCode::Enter:
      return Translated(LabelId::Enter);
    case StripCode::Mute:
      return Translated(LabelId::Mute);
    case StripCode::Pfl:
      return Translated(LabelId::Pfl);
    case StripCode::Phantom48V:
      return QStringLiteral("48V");
    case StripCode::Left:
      return QStringLiteral("L");
    case StripCode::Right:
      return QStringLiteral("R");
    default:
      return {};
  }
}


void StripBase::RefreshTexts() {
  ShowName();
  for (SkinnedButton* each : buttons_) each->SetText(ButtonCaption(each->buttonIndex()));
  RefreshPanText();
  RefreshLevelText();
}

void StripBase::ShowName() {
  labels_[kNameLabel]->SetText(NameText());
  // A screen reader names the strip a control is on ("CH3", "AUX2") before the control.
  setAccessibleName(NameText());
}

void StripBase::RefreshPanText() { labels_[kPanLabel]->SetText(PanText(static_cast<int>(pan_->GetValue()))); }

void StripBase::RefreshLevelText() { labels_[kLevelLabel]->SetText(LevelText(levelWord_)); }

bool StripBase::event(QEvent* event) {
  const WindowMessage* message = AsWindowMessage(event);
  if (message == nullptr) return QWidget::event(event);
  switch (message->message()) {
    case kRefreshTexts:
      RefreshTexts();
      return true;
    case kButtonClicked:
      OnButtonClicked(static_cast<int>(message->wParam()));
      return true;
    case kFaderMoved:
      Notify(StripCode::Fader);
      levelWord_ = static_cast<std::uint16_t>(ReadCommonControl(StripCode::Fader));
      RefreshLevelText();
      return true;
    case kLabelOrSelector:
      RefreshPanText();
      Notify(StripCode::Pan);
      return true;
    default:
      return QWidget::event(event);
  }
}

void StripBase::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    event->accept();
    Notify(StripCode::Enter);
    return;
  }
  QWidget::keyPressEvent(event);
}

void StripBase::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.bufferValid()) {
    // Opaque: copied, not blended, which is most of a whole-window repaint.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), background_.image());
  } else {
    painter.fillRect(rect(), palette().window());  // no artwork: the plain window look
  }
}

void StripBase::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

}  // namespace rmt4::ui
