#include "ui/main/output_strip.h"

#include "i18n/name_arrays.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/strip_texts.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

constexpr int kBackgroundImage = 148;
// L and R sit where the input strip has its 48V button.
constexpr int kRoutingTop = 165;

constexpr int kFirstBusButton = 6;
constexpr int kBusButtonImage = 149;
QRect BusButtonRect(int bus) { return QRect(83, 6 + 38 * bus, 44, 30); }

constexpr int kMeterImage = 167;
constexpr int kMeterTop = 279;
constexpr int kMeterHeight = 370;
constexpr std::array<int, 2> kMeterLefts{89, 106};
constexpr int kMeterWidth = 15;
constexpr int kMeterMaxLevel = 12;

}  // namespace

OutputStrip::OutputStrip(QWidget* parent) : StripBase(parent, kBackgroundImage, kRoutingTop) {
  for (int bus = 0; bus < kOutputBusCount; ++bus) AddButton(BusButtonRect(bus), kBusButtonImage);
  // Unlike an input channel, a bus starts without routing.
  button(StripCode::Left).SetState(kButtonReleased);
  button(StripCode::Right).SetState(kButtonReleased);

  for (std::size_t side = 0; side < meters_.size(); ++side) {
    auto* meter = new LevelMeter(this);
    const QRect nominal(kMeterLefts[side], kMeterTop, kMeterWidth, kMeterHeight);
    meter->setGeometry(nominal);
    meter->SetBackgroundSource(&background());
    meter->SetAncestorLevel(1);
    meter->SetFillColour(0);
    meter->SetImage(kMeterImage, 0, 0);
    // The image's rows map onto the meter's own height at scale 1.
    meter->SetRange(0, kMeterMaxLevel, kMeterHeight, 0.0);
    meter->SetLevel(0);
    AddPlacement(*meter, nominal);
    meters_[side] = meter;
  }

  selectedBus_ = 0;
  ShowBus(selectedBus_);
  LayOut();
}

int OutputStrip::ReadControl(StripCode code) const {
  switch (code) {
    case StripCode::Mute:
      return ButtonPressed(code) ? 0 : 1;
    case StripCode::Pfl:
      return ButtonPressed(code) ? kOutputPflPressedReading : kRoutedLevel;
    default:
      return ReadCommonControl(code);
  }
}

void OutputStrip::SetMeterLevels(int left, int right) {
  meters_[0]->SetLevel(left);
  meters_[1]->SetLevel(right);
}

bool OutputStrip::OnOwnButtonClicked(int buttonIndex) {
  if (buttonIndex >= kFirstBusButton && buttonIndex < kFirstBusButton + kOutputBusCount) {
    ShowBus(buttonIndex - kFirstBusButton);
    Notify(StripCode::Bus);
    return true;
  }
  return false;
}

void OutputStrip::ShowBus(int bus) {
  const bool main = bus == 0;
  button(StripCode::Left).SetShown(!main && controlShown(StripControl::LeftButton));
  button(StripCode::Right).SetShown(!main && controlShown(StripControl::RightButton));
  pan().SetSkinVisible(main && controlShown(StripControl::Pan));
  panLabel().setVisible(main);
  for (int each = 0; each < kOutputBusCount; ++each) {
    button(kFirstBusButton + each).SetState(each == bus ? kButtonPressed : kButtonReleased);
  }
  selectedBus_ = bus;
  ShowName();
}

QString OutputStrip::NameText() const { return Translated(kOutputBusLabels[static_cast<std::size_t>(selectedBus_)]); }

QString OutputStrip::ButtonCaption(int buttonIndex) const {
  const int bus = buttonIndex - kFirstBusButton;
  if (bus == 0) return Translated(LabelId::MainShort);
  if (bus > 0 && bus < kOutputBusCount) return Translated(LabelId::AuxShort) + QString::number(bus);
  return StripBase::ButtonCaption(buttonIndex);
}

}  // namespace rmt4::ui
