#pragma once

// What each kind of parameter value means, one entry per kind: how a raw
// word reads, what may be typed for it, and how typed text becomes a word.
// The catalogue's FormatValue, ParseValue and ValueRangeText all ask here,
// so what is printed can be typed back.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/param_catalogue.h"

namespace rmt4 {

/// A code of a word, or a bit of one, and the word it reads as.
struct CodeWord {
  std::uint16_t code;
  std::string_view word;
};

/// Bits of the PFL bus word (bit 7 is the console's, following MAIN).
inline constexpr std::array<CodeWord, 9> kPflBusBits{{{0x0001, "AUX1"},
                                                      {0x0002, "AUX2"},
                                                      {0x0004, "AUX3"},
                                                      {0x0008, "AUX4"},
                                                      {0x0010, "AUX5"},
                                                      {0x0020, "AUX6"},
                                                      {0x0040, "MAIN"},
                                                      {0x0100, "FX1"},
                                                      {0x0200, "FX2"}}};

/// The span a measured kind is typed in; values outside it are refused.
struct UnitRange {
  double min;
  double max;
  std::string_view unit;  ///< as printed; typed in any case after the number
};

/// A kind's value as a number in its unit, and the steps of its range as a
/// control travels them (a fader by its level table, a choice by its index).
struct NumberMeaning {
  /// The number of a word; none when the word has none (a code off the list).
  std::optional<double> (*of)(std::uint16_t raw) = nullptr;
  /// The word of a number; refused as `parse` refuses, without naming the parameter.
  ParsedValue (*from)(double number) = nullptr;
  /// Sent as an integer (choices, switches, counts).
  bool whole = false;
  /// A range a control travels smoothly, so that the value may fade.
  bool continuous = false;
  /// The steps of the range, 0..top: a word's step (none off the range) and the word of a step.
  int (*top)() = nullptr;
  std::optional<int> (*stepOf)(std::uint16_t raw) = nullptr;
  std::uint16_t (*rawAt)(int step) = nullptr;
  /// The bits a number writes; a packed word keeps the others as the console holds them.
  std::uint16_t own = 0xFFFF;
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
  /// As a number; `of` is null for kinds without one (codes shown only, readings of another word).
  NumberMeaning number{};
};

[[nodiscard]] const ValueKindMeaning& MeaningOf(ValueKind kind);

/// `parsed`, when refused, with its error naming `address` and what it takes,
/// e.g. "ch1.fader: out of range ('20'); it takes dB -120..10, -inf".
[[nodiscard]] ParsedValue NamingRefusal(ParamAddress address, ParsedValue parsed, std::string_view typed);

}  // namespace rmt4
