#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "values/effect_program_values.h"
#include "values/editor_addresses.h"
#include "values/editor_encodings.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"
#include "values/param_catalogue.h"
#include "values/param_words.h"
#include "values/system_noise_gate.h"

namespace rmt4 {
namespace {

using namespace param_words;

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string OnOff(bool on) { return on ? "ON" : "OFF"; }

std::string LevelText(std::uint16_t raw) {
  if ((raw & kLevelMask) == 0) return "-inf";
  return Printf("%.1f dB", LevelDb(raw));
}

/// Whole hertz from 100 Hz, tenths below, as the editor's band field shows
/// them; kHz with up to three decimals (no hertz lost) from 1 kHz.
std::string FrequencyText(double hz) {
  if (hz < 100) return Printf("%.1f Hz", hz);
  if (hz < 1000) return Printf("%.0f Hz", hz);
  // Rounded to whole hertz first, halves to even as "%.0f" does below 1 kHz.
  std::string text = Printf("%.3f", std::nearbyint(hz) / 1000);
  while (text.back() == '0' && text[text.size() - 3] != '.') text.pop_back();
  return text + " kHz";
}

template <std::size_t N>
std::string CodeText(const std::array<CodeWord, N>& words, std::uint16_t raw) {
  for (const CodeWord& entry : words) {
    if (entry.code == raw) return std::string(entry.word);
  }
  return std::to_string(raw);
}

std::string PflBusText(std::uint16_t raw) {
  std::string text;
  std::uint16_t known = 0;
  for (const CodeWord& bit : kPflBusBits) {
    known |= bit.code;
    if ((raw & bit.code) == 0) continue;
    if (!text.empty()) text += ' ';
    text += bit.word;
  }
  // Bits of the console's own (bit 7 follows MAIN) are shown so that nothing is hidden.
  if ((raw & ~known) != 0) {
    char extra[16];
    std::snprintf(extra, sizeof extra, "0x%04X", static_cast<unsigned>(raw & ~known));
    if (!text.empty()) text += ' ';
    text += extra;
  }
  return text.empty() ? "none" : text;
}

std::string PanText(std::uint16_t raw) {
  if (raw == kBalanceCentre) return "C";
  std::string text(1, raw < kBalanceCentre ? 'L' : 'R');
  text.append(std::to_string(std::abs(raw - kBalanceCentre)));
  return text;
}

std::string SwitchesText(std::uint16_t raw, bool phantom) {
  std::string text = OnOff((raw & kChannelOnBit) == 0);
  if (phantom && (raw & kPhantomPowerBit) != 0) text += " 48V";
  return text;
}

std::string RatioValueText(std::uint16_t raw) {
  const RatioState state = RatioStateOf(raw);
  std::string text = Printf("%.1f:1", (raw & ~kCompressorOffFlag) / 10.0);
  return state.compressorOff ? text + " off" : text;
}

std::string ProgramTypeText(std::uint16_t raw) {
  if (!IsKnownProgramType(raw)) return std::to_string(raw);
  return std::to_string(raw) + " (" + ProgramTypeName(raw) + ")";
}

}  // namespace

std::string FormatValue(ParamAddress address, std::uint16_t raw) {
  switch (ParamAt(address).kind) {
    case ValueKind::kLevel:
      return LevelText(raw);
    case ValueKind::kAuxSend:
      return LevelText(raw) + (AuxSendState(raw).postFader ? " post" : " pre");
    case ValueKind::kPan:
      return PanText(raw);
    case ValueKind::kSwitches:
      return SwitchesText(raw, true);
    case ValueKind::kSwitchesNo48V:
      return SwitchesText(raw, false);
    case ValueKind::kOnWord:
      return OnOff(raw == 0);
    case ValueKind::kRouted:
    case ValueKind::kSwitch:
      return OnOff(raw != 0);
    case ValueKind::kPfl:
      return OnOff((raw & kPflOnMask) != 0);
    case ValueKind::kEqSwitch:
      return OnOff(raw == 0);  // the button's caption
    case ValueKind::kNoiseGate:
      return Printf("%.0f dB", NoiseGatePosition(raw) - kNoiseGateTop);
    case ValueKind::kGainStep:
      if (raw > kGainStepTop) return std::to_string(raw);
      return Printf("%.1f dB", GainTable[raw] / 10.0);
    case ValueKind::kDelay:
      return Printf("%.2f ms", DelayPosition(raw) / 10);
    case ValueKind::kTime:
      return Printf("%.1f ms", TenthsPosition(raw));
    case ValueKind::kThreshold:
      return Printf("%.1f dBu", TenthsPosition(raw) - kThresholdOffsetDb);
    case ValueKind::kRatio:
      return RatioValueText(raw);
    case ValueKind::kHpfType:
      return std::string(
          kFilterTypeItems[static_cast<std::size_t>(FilterTypeItemForCode(CutFilter::kHighPass, raw))].text);
    case ValueKind::kLpfType:
      return std::string(
          kFilterTypeItems[static_cast<std::size_t>(FilterTypeItemForCode(CutFilter::kLowPass, raw))].text);
    case ValueKind::kCutFrequency:
      return raw == kFilterOffRaw ? "OFF" : FrequencyText(DecodeFilterFrequency(raw));
    case ValueKind::kBandFrequency:
      return FrequencyText(DecodeFrequency(raw));
    case ValueKind::kBandGain:
      return Printf("%.1f dB", DecodeGainDb(raw));
    case ValueKind::kBandQ:
      return Printf("%.2f", DecodeQ(raw));
    case ValueKind::kBandType:
      return CodeText(kBandTypes, raw);
    case ValueKind::kFeedback:
      return raw <= kFeedbackTop ? FeedbackName(raw) : std::to_string(raw);
    case ValueKind::kProgramA:
    case ValueKind::kProgramB: {
      const std::string name = ProgramName(ParamAt(address).kind, raw);
      return name.empty() ? std::to_string(raw) : name;
    }
    case ValueKind::kProgramType:
      return ProgramTypeText(raw);
    case ValueKind::kPflBus:
      return PflBusText(raw);
    case ValueKind::kFootSwitch:
      return CodeText(kFootSwitch, raw);
    case ValueKind::kRecorder:
      return CodeText(kRecorder, raw);
    case ValueKind::kMode:
      return raw == 0 ? "none" : std::to_string(raw);
    case ValueKind::kEffectParameter1:
    case ValueKind::kEffectParameter2:
    case ValueKind::kSystemNoiseGate:
    case ValueKind::kRaw:
      break;
  }
  return std::to_string(raw);
}

std::string FormatValue(ParamAddress address, std::uint16_t raw, const ValueAt& valueAt) {
  const ParamInfo& info = ParamAt(address);
  if (!info.readWith || !valueAt) return FormatValue(address, raw);
  // As the effect-return editor captions the slider for the program type now in use.
  const ProgramTypeLook& look = ProgramTypeLookOf(valueAt(*info.readWith));
  const ProgramParameterLook& parameter = info.kind == ValueKind::kEffectParameter1 ? look.parameter1 : look.parameter2;
  std::string reading = ProgramParameterText(parameter, raw);
  // The caption pads the number to a fixed width; a line has no columns to keep.
  if (const std::size_t colon = reading.find(':'); colon != std::string::npos) {
    reading.erase(std::remove(reading.begin() + static_cast<std::ptrdiff_t>(colon), reading.end(), ' '), reading.end());
  }
  return std::to_string(raw) + " (" + reading + ")";
}

std::vector<ParamAddress> WithReadingDependencies(std::vector<ParamAddress> addresses) {
  const std::size_t named = addresses.size();
  for (std::size_t i = 0; i < named; ++i) {
    const std::optional<ParamAddress> other = ParamAt(addresses[i]).readWith;
    if (other && std::find(addresses.begin(), addresses.end(), *other) == addresses.end()) addresses.push_back(*other);
  }
  return addresses;
}

std::string ValueRangeText(ParamAddress address) {
  const ValueKind kind = ParamAt(address).kind;
  std::string extra;
  switch (kind) {
    case ValueKind::kLevel:
      extra = ", -inf";
      break;
    case ValueKind::kAuxSend:
      extra = ", -inf; pre|post";
      break;
    case ValueKind::kRatio:
      extra = " (nearest step); on|off";
      break;
    case ValueKind::kCutFrequency:
      extra = ", OFF";
      break;
    case ValueKind::kPan:
      return "L100..C..R100 (raw 0..200)";
    case ValueKind::kSwitches:
      return "ON|OFF (mute), 48V|48V-OFF (phantom power)";
    case ValueKind::kSwitchesNo48V:
    case ValueKind::kOnWord:
      return "ON|OFF (mute)";
    case ValueKind::kRouted:
    case ValueKind::kSwitch:
    case ValueKind::kPfl:
      return "ON|OFF";
    case ValueKind::kEqSwitch:
      return "ON|OFF (the EQ button's caption)";
    case ValueKind::kHpfType:
    case ValueKind::kLpfType: {
      std::string names;
      for (const FilterTypeItem& item : kFilterTypeItems) {
        if (!names.empty()) names += ", ";
        names += item.text;
      }
      return names;
    }
    case ValueKind::kBandType:
      return "high-shelf, low-shelf, peaking";
    case ValueKind::kFeedback:
      return "OFF, FB1..FB5";
    case ValueKind::kProgramA:
    case ValueKind::kProgramB:
      return "1..36 or the program's name";
    case ValueKind::kProgramType:
      return "0..36";
    case ValueKind::kEffectParameter1:
      return "0.." + std::to_string(HighestParameter1Top()) + " (slider steps; the program type gives their meaning)";
    case ValueKind::kEffectParameter2:
      return "0.." + std::to_string(kProgramParameter2Top) + " (slider steps; the program type gives their meaning)";
    case ValueKind::kPflBus:
      return "none or any of AUX1..AUX6 MAIN FX1 FX2";
    case ValueKind::kFootSwitch:
      return "FX1, FX2, FX1+FX2";
    case ValueKind::kRecorder:
      return "MP3, USB";
    case ValueKind::kSystemNoiseGate: {
      std::string steps;
      for (const std::uint16_t step : kSystemNoiseGateSteps) {
        if (!steps.empty()) steps += ' ';
        steps += std::to_string(step);
      }
      return steps;
    }
    case ValueKind::kMode:
      return "none, 1..12";
    default:
      break;
  }
  const auto range = NumericRange(kind);
  if (!range) return "0..65535";
  char text[64];
  const std::string unit(range->unit.empty() ? "Q" : range->unit);
  if (unit == ":1") {
    std::snprintf(text, sizeof text, "%g:1..%g:1", range->min, range->max);
  } else {
    std::snprintf(text, sizeof text, "%s %g..%g", unit.c_str(), range->min, range->max);
  }
  return std::string(text) + extra;
}

}  // namespace rmt4
