#pragma once

// The value of a parameter in words as every reader of it says it: what
// `rmt4ctl get NAME` prints after "NAME: ", what a screen reader announces
// and what a control's tip shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/param_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {

/// "-6.0 dB", "ON", "pre"…: `bits`' word when given, else the reading of
/// `address` holding `value`.
[[nodiscard]] std::string ValueText(ParamAddress address, std::uint16_t value, const ValueAt& valueAt,
                                    const BitParam* bits = nullptr);
/// The same for a catalogue or bit name, its word read with `valueAt`; none
/// for a name no parameter has.
[[nodiscard]] std::optional<std::string> NamedValueText(std::string_view name, const ValueAt& valueAt);

}  // namespace rmt4
