// The editor's controls as raw parameter words, both ways.
#include "values/input_editor_conversions.h"

#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor.h"
#include "ui/editors/input_editor_inventory.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

bool IsAuxCode(int code) { return code >= editor_code::kAux1Send && code < editor_code::kAux1Send + 6; }

}  // namespace

int InputEditor::ReadControl(int code) const {
  if (const std::optional<int> eq = ReadEqSection(code)) return *eq;
  if (const std::optional<int> compressor = ReadCompressorSection(code)) return *compressor;
  if (IsAuxCode(code)) {
    const int aux = code - editor_code::kAux1Send;
    return AuxSendRaw(slider(kFirstAuxSlider + aux).GetValue(), ButtonPressed(kFirstPrePostButton + aux));
  }
  switch (code) {
    case editor_code::kDelay:
      return DelayRaw(slider(kDelaySlider).GetValue());
    case editor_code::kGain:
      return GainRaw(slider(kGainSlider).GetValue());
    case editor_code::kNoiseGate:
      return NoiseGateRaw(slider(kNoiseGateSlider).GetValue());
    case editor_code::kMainSend:
    case editor_code::kEfx1Send:
    case editor_code::kEfx2Send:
      return SendRaw(SliderOfCode(code)->GetValue());
    case editor_code::kEffectParameter1:
    case editor_code::kEffectParameter2:
      return WholePosition(SliderOfCode(code)->GetValue());
    case editor_code::kEffectProgram:
      return ProgramReading();
    default:
      return 0;  // the program type is shown only
  }
}

void InputEditor::ApplyValue(int code, int raw) {
  if (ApplyEqSection(code, raw) || ApplyCompressorSection(code, raw)) return;
  if (IsAuxCode(code)) {
    const int aux = code - editor_code::kAux1Send;
    const SendState state = AuxSendState(raw);
    ShowPressed(kFirstPrePostButton + aux, state.postFader);
    if (state.position) slider(kFirstAuxSlider + aux).SetValue(*state.position);
    RefreshText(code);
    return;
  }
  switch (code) {
    case editor_code::kDelay:
      slider(kDelaySlider).SetValue(DelayPosition(raw));
      break;
    case editor_code::kGain:
      slider(kGainSlider).SetValue(raw);
      break;
    case editor_code::kNoiseGate:
      slider(kNoiseGateSlider).SetValue(NoiseGatePosition(raw));
      break;
    case editor_code::kMainSend:
    case editor_code::kEfx1Send:
    case editor_code::kEfx2Send:
      // A level above the slider's top leaves the slider where it is.
      if (const std::optional<int> position = SendPosition(raw)) SliderOfCode(code)->SetValue(*position);
      break;
    case editor_code::kEffectParameter1:
    case editor_code::kEffectParameter2:
      SliderOfCode(code)->SetValue(raw);
      break;
    case editor_code::kEffectProgram:
      ApplyProgramNumber(raw);
      return;
    case editor_code::kEffectProgramType:
      ApplyProgramType(raw);
      return;
    default:
      return;
  }
  RefreshText(code);
}

}  // namespace rmt4::ui
