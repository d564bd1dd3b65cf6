#include "ui/main/strip_bank.h"

#include "ui/controls/control_param.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/input_strip.h"
#include "ui/main/output_strip.h"
#include "ui/platform/window_message.h"
#include "values/meter_levels.h"

namespace rmt4::ui {
namespace {

// Nominal geometry of the strips in the main window.
constexpr int kInputLeft = 3;
constexpr int kInputTop = 53;
constexpr int kInputBottom = 692;
constexpr int kDigitalGap = 22;  // before the tenth strip
constexpr int kDigitalStrip = 9;
constexpr int kOutputTop = 51;

// Strips without phantom power, and the effect returns without routing or pan.
bool HasPhantomPower(int strip) { return strip < 8; }
bool IsEffectReturn(int strip) { return strip == kFx1Strip || strip == kFx2Strip; }

void SwitchOffAbsentControls(InputStrip& strip, int index) {
  if (!HasPhantomPower(index)) strip.SetControlShown(StripControl::PhantomButton, false);
  if (IsEffectReturn(index)) {
    strip.SetControlShown(StripControl::LeftButton, false);
    strip.SetControlShown(StripControl::RightButton, false);
    strip.SetControlShown(StripControl::PanLabel, false);
    strip.SetControlShown(StripControl::Pan, false);
  }
}

constexpr std::array<StripCode, 5> kButtonCodes{StripCode::Mute, StripCode::Pfl, StripCode::Phantom48V,
                                               StripCode::Left, StripCode::Right};

}  // namespace

StripBank::StripBank(QWidget* host, ParamTable& params) : params_(params) {
  for (int i = 0; i < kInputStripCount; ++i) {
    auto* strip = new InputStrip(host);
    strip->SetIndex(i);
    SwitchOffAbsentControls(*strip, i);
    inputs_[static_cast<std::size_t>(i)] = strip;
    DescribeControls(*strip);
  }
  output_ = new OutputStrip(host);
  output_->SetIndex(kOutputStrip);
  // The output strip has no phantom power.
  output_->SetControlShown(StripControl::PhantomButton, false);
  DescribeControls(*output_);
}

void StripBank::DescribeControls(StripBase& strip) {
  const auto describe = [&](QWidget& control, StripCode code) {
    DescribeControl(control, params_,
                    [this, index = strip.index(), code] { return StripParamName(index, code, OutputBus()); });
  };
  for (const StripCode code : kButtonCodes) describe(strip.button(code), code);
  describe(strip.pan(), StripCode::Pan);
  describe(strip.fader(), StripCode::Fader);
}

void StripBank::Layout(double s, double sx, int clientWidth) {
  const int top = static_cast<int>(kInputTop * s);
  const int height = static_cast<int>(kInputBottom * s) - top;
  int x = static_cast<int>(kInputLeft * sx);
  for (int i = 0; i < kInputStripCount; ++i) {
    InputStrip& strip = inputStrip(i);
    if (i == kDigitalStrip) x += static_cast<int>(kDigitalGap * s);
    const int width = static_cast<int>(strip.nominalSize().width() * s);
    strip.SetScale(s);
    strip.setGeometry(x, top, width, height);
    x += width;
  }
  const QSize nominal = output_->nominalSize();
  const int width = static_cast<int>(nominal.width() * s);
  output_->SetScale(s);
  output_->setGeometry(clientWidth - 1 - width, static_cast<int>(kOutputTop * s), width,
                       static_cast<int>(nominal.height() * s));
}

void StripBank::SetVisible(bool visible) {
  for (InputStrip* strip : inputs_) strip->setVisible(visible);
  output_->setVisible(visible);
}

void StripBank::ControlEdited(int strip, int code) {
  const auto stripCode = static_cast<StripCode>(code);
  if (strip >= 0 && strip < kInputStripCount) {
    WriteInputStripEdit(params_, strip, stripCode, inputStrip(strip).ReadControl(stripCode));
  } else if (strip == kOutputStrip && stripCode == StripCode::Bus) {
    for (const StripUpdate& update : OutputBusUpdates(params_, output_->selectedBus())) Apply(update);
  } else if (strip == kOutputStrip) {
    WriteOutputStripEdit(params_, output_->selectedBus(), stripCode, output_->ReadControl(stripCode));
  }
}

void StripBank::ValueArrived(ParamAddress address) {
  if (!IsValidAddress(address)) return;
  const std::uint16_t value = params_.Value(address);
  if (address == address::kLevelMeters) {
    const MeterLevels levels = MeterLevelsFromWord(value);
    output_->SetMeterLevels(levels.left, levels.right);
  }
  for (const StripUpdate& update : StripUpdatesFor(address, value, output_->selectedBus())) Apply(update);
}

void StripBank::RefreshTexts() {
  for (InputStrip* strip : inputs_) PostWindowMessage(strip, kRefreshTexts, 0, 0);
  PostWindowMessage(output_, kRefreshTexts, 0, 0);
}

int StripBank::OutputBus() const { return output_->selectedBus(); }

InputStrip& StripBank::inputStrip(int i) const { return *inputs_.at(static_cast<std::size_t>(i)); }

StripBase* StripBank::Strip(int strip) const {
  if (strip == kOutputStrip) return output_;
  if (strip >= 0 && strip < kInputStripCount) return inputs_[static_cast<std::size_t>(strip)];
  return nullptr;
}

void StripBank::Apply(const StripUpdate& update) const {
  if (StripBase* strip = Strip(update.strip)) strip->ApplyValue(update.code, update.value);
}

}  // namespace rmt4::ui
