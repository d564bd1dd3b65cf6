#include "ui/main/input_strip.h"

#include "i18n/name_arrays.h"
#include "ui/controls/skinned_button.h"
#include "ui/main/strip_texts.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

constexpr int kBackgroundImage = 134;
constexpr int kRoutingTop = 204;

}  // namespace

InputStrip::InputStrip(QWidget* parent) : StripBase(parent, kBackgroundImage, kRoutingTop) {}

int InputStrip::ReadControl(StripCode code) const {
  switch (code) {
    case StripCode::Mute:
      return ButtonPressed(code) ? 1 : 0;
    case StripCode::Pfl:
      return ButtonPressed(code) ? kRoutedLevel : 0;
    default:
      return ReadCommonControl(code);
  }
}

bool InputStrip::OnOwnButtonClicked(int buttonIndex) {
  if (static_cast<StripCode>(buttonIndex) != StripCode::Phantom48V) return false;
  if (ButtonPressed(buttonIndex)) {
    ConfirmPhantomPower();
  } else {
    Notify(StripCode::Phantom48V);  // switching off needs no question
  }
  return true;
}

void InputStrip::ConfirmPhantomPower() {
  SkinnedButton& phantom = button(StripCode::Phantom48V);
  // Phantom power is off until the user says yes: the button shows so while it asks.
  phantom.SetState(kButtonReleased);
  const MessageButton answer = ShowMessageBox(window(), MessageStyle::YesNo, Translated(LabelId::Operating48V));
  // The console may have reported a state while the question was open; the answer decides.
  if (answer == MessageButton::Yes) {
    phantom.SetState(kButtonPressed);
    Notify(StripCode::Phantom48V);
  } else {
    phantom.SetState(kButtonReleased);
  }
}

QString InputStrip::NameText() const {
  const auto strip = static_cast<std::size_t>(index());
  return strip < kInputChannelLabels.size() ? Translated(kInputChannelLabels[strip]) : QString();
}

}  // namespace rmt4::ui
