// The compressor section every channel editor has: threshold, attack,
// release and ratio sliders and the compressor switch, as raw parameter
// words and texts. Each editor numbers the four codes from its own first one.
#include <array>
#include <string>

#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/scrolling_editor.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {
namespace {

using namespace editor_control;

// The section's controls in the order of their codes.
constexpr int kRatio = 3;
constexpr std::array<std::string (*)(double), 4> kCaptions{ThresholdText, AttackText, ReleaseText, RatioText};

}  // namespace

int ScrollingEditor::CompressorControlOf(int code) const {
  const int control = code - inventory_.compressorCode;
  return control >= 0 && control < static_cast<int>(kCaptions.size()) ? control : -1;
}

std::optional<int> ScrollingEditor::ReadCompressorSection(int code) const {
  const int control = CompressorControlOf(code);
  if (control < 0) return std::nullopt;
  const double position = SliderOfCode(code)->GetValue();
  if (control != kRatio) return TenthsRaw(position);
  return RatioRaw(position, ButtonOfCode(code)->state() == kButtonPressed);
}

bool ScrollingEditor::ApplyCompressorSection(int code, int raw) {
  const int control = CompressorControlOf(code);
  if (control < 0) return false;
  if (control != kRatio) {
    SliderOfCode(code)->SetValue(TenthsPosition(raw));
  } else {
    const RatioState state = RatioStateOf(raw);
    ButtonOfCode(code)->SetState(state.compressorOff ? kButtonPressed : kButtonReleased);
    // A ratio above the table leaves the slider where it is.
    if (state.position) SliderOfCode(code)->SetValue(*state.position);
  }
  RefreshText(code);
  return true;
}

bool ScrollingEditor::RefreshCompressorSectionText(int code) {
  const int control = CompressorControlOf(code);
  if (control < 0) return false;
  ShowCaption(*SliderOfCode(code), kCaptions[static_cast<std::size_t>(control)]);
  if (control == kRatio) ButtonOfCode(code)->SetText(OnOffCaption(*ButtonOfCode(code)));
  return true;
}

}  // namespace rmt4::ui
