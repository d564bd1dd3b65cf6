#include "values/param_numbers.h"

namespace rmt4 {

std::optional<ParamNumber> NumberOf(ParamAddress, std::uint16_t) { return std::nullopt; }

ParsedValue ValueFromNumber(ParamAddress, double) { return {.raw = std::nullopt, .error = "not yet"}; }

std::optional<double> NormalisedOf(ParamAddress, std::uint16_t) { return std::nullopt; }

ParsedValue ValueFromNormalised(ParamAddress, double) { return {.raw = std::nullopt, .error = "not yet"}; }

}  // namespace rmt4
