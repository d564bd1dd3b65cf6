#include "values/param_words.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "dsp/band_field_steps.h"
#include "values/effect_program_values.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"

namespace rmt4::param_words {

std::optional<unsigned long> ParseWholeNumber(std::string_view text, unsigned long maximum) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > maximum) return std::nullopt;
  return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<UnitRange> NumericRange(ValueKind kind) {
  switch (kind) {
    case ValueKind::kLevel:
    case ValueKind::kAuxSend:
      return UnitRange{LevelDb(LevelTable.front()), LevelDb(LevelAtStep(kStripFaderTop)), "dB"};
    case ValueKind::kNoiseGate:
      return UnitRange{-kNoiseGateTop, 0, "dB"};
    case ValueKind::kGainStep:
      return UnitRange{GainTable.front() / 10.0, GainTable.back() / 10.0, "dB"};
    case ValueKind::kDelay:
      return UnitRange{0, kDelayTop / 10.0, "ms"};
    case ValueKind::kTime:
      return UnitRange{0, kTimeTop, "ms"};
    case ValueKind::kThreshold:
      return UnitRange{-kThresholdOffsetDb, kThresholdTop - kThresholdOffsetDb, "dBu"};
    case ValueKind::kRatio:
      return UnitRange{RatioTable.front() / 10.0, RatioTable.back() / 10.0, ":1"};
    case ValueKind::kCutFrequency:
      return UnitRange{FilterFreqTable[kFilterOffRow + 1], FilterFreqTable.back(), "Hz"};
    case ValueKind::kBandFrequency:
      return UnitRange{BandFrequencyStepTable.front(), BandFrequencyStepTable.back(), "Hz"};
    case ValueKind::kBandGain:
      return UnitRange{GainRange{}.min, GainRange{}.max, "dB"};
    case ValueKind::kBandQ:
      return UnitRange{QStepTable.front(), QStepTable.back(), ""};
    default:
      return std::nullopt;
  }
}

std::string ProgramName(ValueKind kind, std::uint16_t program) {
  if (program == 0 || program > kProgramTop) return {};
  // The names the effect-return editor's selector offers.
  return ProgramEntries(kind == ValueKind::kProgramA ? EffectProgramList::A : EffectProgramList::B)[program - 1U];
}

std::string FeedbackName(std::uint16_t stage) { return stage == 0 ? "OFF" : "FB" + std::to_string(stage); }

}  // namespace rmt4::param_words
