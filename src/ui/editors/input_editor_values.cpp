// The editor's controls as raw parameter words, both ways.
#include "values/input_editor_values.h"

#include <cmath>

#include "dsp/band_field_steps.h"
#include "dsp/band_field_text.h"
#include "ui/controls/ea_qel2.h"
#include "ui/controls/eq_qel0.h"
#include "ui/controls/gdi_button.h"
#include "ui/controls/qel_combo_box.h"
#include "ui/editors/input_editor.h"
#include "ui/editors/input_editor_inventory.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"
#include "values/filter_values.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

bool IsBandCode(int code, int first) { return code >= first && code < first + kBandCount; }
bool IsAuxCode(int code) { return code >= editor_code::kAux1Send && code < editor_code::kAux1Send + 6; }

double FieldValue(const CEQ_Qel0& band, BandField field) {
  return ParseBandFieldText(band.fieldText(field).toStdString());
}

int FilterRowOf(const CEA_Qel2& slider) { return static_cast<int>(std::lround(slider.GetValue())); }

}  // namespace

bool CWinInPut::ButtonPressed(int index) const { return button(index).state() == kButtonPressed; }

void CWinInPut::ShowPressed(int index, bool pressed) {
  button(index).SetState(pressed ? kButtonPressed : kButtonReleased);
}

CEA_Qel2* CWinInPut::SliderOfCode(int code) const {
  for (std::size_t i = 0; i < kInputEditorSliders.size(); ++i) {
    if (kInputEditorSliders[i].code == code) return sliders_[i];
  }
  return nullptr;
}

int CWinInPut::ReadControl(int code) const {
  if (IsBandCode(code, editor_code::kBandFrequency)) {
    return BandFrequencyRaw(FieldValue(band(code - editor_code::kBandFrequency), BandField::kFrequency));
  }
  if (IsBandCode(code, editor_code::kBandQ))
    return BandQRaw(FieldValue(band(code - editor_code::kBandQ), BandField::kQ));
  if (IsBandCode(code, editor_code::kBandGain)) return BandGainRaw(band(code - editor_code::kBandGain).gain());
  if (IsAuxCode(code)) {
    const int aux = code - editor_code::kAux1Send;
    return AuxSendRaw(slider(kFirstAuxSlider + aux).GetValue(), ButtonPressed(kFirstPrePostButton + aux));
  }
  switch (code) {
    case editor_code::kEqOn:
      return ButtonPressed(kEqOnButton) ? 1 : 0;
    case editor_code::kHpfFrequency:
      return FilterRowRaw(FilterRowOf(slider(kHighPassSlider)));
    case editor_code::kLpfFrequency:
      return FilterRowRaw(FilterRowOf(slider(kLowPassSlider)));
    case editor_code::kHpfType:
      return FilterTypeCode(CutFilter::kHighPass, combo(kHighPassCombo).shownIndex());
    case editor_code::kLpfType:
      return FilterTypeCode(CutFilter::kLowPass, combo(kLowPassCombo).shownIndex());
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
    case editor_code::kThreshold:
    case editor_code::kAttack:
    case editor_code::kRelease:
      return TenthsRaw(SliderOfCode(code)->GetValue());
    case editor_code::kRatio:
      return RatioRaw(slider(kRatioSlider).GetValue(), ButtonPressed(kCompressorButton));
    case editor_code::kEffectParameter1:
    case editor_code::kEffectParameter2:
      return WholePosition(SliderOfCode(code)->GetValue());
    case editor_code::kEffectProgram:
      return ProgramReading();
    default:
      return 0;  // the program type is shown only
  }
}

void CWinInPut::ApplyBandValue(int code, int raw) {
  const GainRange gains;
  if (IsBandCode(code, editor_code::kBandFrequency)) {
    const double hz = DecodeFrequency(static_cast<std::uint16_t>(raw));
    band(code).SetField(BandField::kFrequency, StepBandField(BandField::kFrequency, hz, 0, gains));
  } else if (IsBandCode(code, editor_code::kBandQ)) {
    band(code - editor_code::kBandQ).SetField(BandField::kQ, StepBandField(BandField::kQ, DecodeQ(static_cast<std::uint16_t>(raw)), 0, gains));
  } else {
    // The band's fader stops at +12 dB; a louder console value is shown, and next written, as +12 dB.
    band(code - editor_code::kBandGain).SetField(BandField::kGain, std::clamp(DecodeGainDb(static_cast<std::uint16_t>(raw)), gains.min, gains.max));
  }
}

void CWinInPut::ApplyValue(int code, int raw) {
  if (IsBandCode(code, editor_code::kBandFrequency) || IsBandCode(code, editor_code::kBandQ) ||
      IsBandCode(code, editor_code::kBandGain)) {
    ApplyBandValue(code, raw);
    return;
  }
  if (IsAuxCode(code)) {
    const int aux = code - editor_code::kAux1Send;
    const SendState state = AuxSendState(raw);
    ShowPressed(kFirstPrePostButton + aux, state.postFader);
    if (state.position) slider(kFirstAuxSlider + aux).SetValue(*state.position);
    RefreshText(code);
    return;
  }
  switch (code) {
    case editor_code::kEqOn:
      ShowPressed(kEqOnButton, raw != 0);
      break;
    case editor_code::kHpfFrequency:
    case editor_code::kLpfFrequency:
      SliderOfCode(code)->SetValue(FilterRowForRaw(static_cast<std::uint16_t>(raw)));
      break;
    case editor_code::kHpfType:
      combo(kHighPassCombo).SetSelection(FilterTypeItemForCode(CutFilter::kHighPass, raw));
      break;
    case editor_code::kLpfType:
      combo(kLowPassCombo).SetSelection(FilterTypeItemForCode(CutFilter::kLowPass, raw));
      break;
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
    case editor_code::kThreshold:
    case editor_code::kAttack:
    case editor_code::kRelease:
      SliderOfCode(code)->SetValue(TenthsPosition(raw));
      break;
    case editor_code::kRatio: {
      const RatioState state = RatioStateOf(raw);
      ShowPressed(kCompressorButton, state.compressorOff);
      if (state.position) slider(kRatioSlider).SetValue(*state.position);
      break;
    }
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
