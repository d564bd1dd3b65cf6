#include <algorithm>
#include <string>

#include "values/effect_program_values.h"
#include "values/param_catalogue.h"
#include "values/typed_text.h"
#include "values/value_kinds.h"

namespace rmt4 {

std::string FormatValue(ParamAddress address, std::uint16_t raw) {
  return MeaningOf(ParamAt(address).kind).format(raw);
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

std::string ValueRangeText(ParamAddress address) { return MeaningOf(ParamAt(address).kind).range(); }

ParsedValue ParseValue(ParamAddress address, std::string_view text) {
  if (!IsValidAddress(address)) return {std::nullopt, "no such address: " + std::to_string(address)};
  const std::string_view typed = Trimmed(text);
  return NamingRefusal(address,
                       typed.empty() ? ParsedValue{std::nullopt, "an empty value"}
                                     : MeaningOf(ParamAt(address).kind).parse(Lower(typed)),
                       typed);
}

ParsedValue NamingRefusal(ParamAddress address, ParsedValue parsed, std::string_view typed) {
  if (!parsed.raw) {
    parsed.error = ParamAt(address).name + ": " + parsed.error + " ('" + std::string(typed) + "'); it takes " +
                   ValueRangeText(address);
  }
  return parsed;
}

}  // namespace rmt4
