#pragma once

// What each kind of parameter value means, one entry per kind: how a raw
// word reads, what may be typed for it, and how typed text becomes a word.
// The catalogue's FormatValue, ParseValue and ValueRangeText all ask here,
// so what is printed can be typed back.

#include <cstdint>
#include <string>
#include <string_view>

#include "values/param_catalogue.h"

namespace rmt4 {

/// The span a measured kind is typed in; values outside it are refused.
struct UnitRange {
  double min;
  double max;
  std::string_view unit;  ///< as printed; typed in any case after the number
};

struct ValueKindMeaning {
  ValueKind kind;
  /// "-6.0 dB", "L20", "OFF 48V", "Bessel-12dB"…
  std::string (*format)(std::uint16_t raw);
  /// The word for typed text (trimmed, lower case, not empty); when refused,
  /// `error` says why without naming the parameter.
  ParsedValue (*parse)(std::string_view typed);
  /// What may be typed, e.g. "dB -120..10, -inf".
  std::string (*range)();
  /// The unit range of a measured kind; null for words and codes.
  UnitRange (*measured)() = nullptr;
};

[[nodiscard]] const ValueKindMeaning& MeaningOf(ValueKind kind);

}  // namespace rmt4
