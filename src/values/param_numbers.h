#pragma once

// Values as numbers rather than text, for clients that send and want floats
// and ints (automation over OSC, fades): a number in the name's unit, and a
// position 0..1 over the parameter's range as a tablet fader has it.

#include <cstdint>
#include <optional>

#include "values/param_catalogue.h"

namespace rmt4 {

/// A word as a number in its name's unit: dB, Hz, ms, Q, a ratio…; a
/// choice as its index, a switch as 0 or 1 (`whole`). A level at its bottom
/// is -infinity dB.
struct ParamNumber {
  double value = 0;
  /// Sent as an integer: choices, switches and plain words.
  bool whole = false;
};

/// The number of `raw` at `address`; none for words that have no number
/// (a reading that depends on another word, codes shown only).
[[nodiscard]] std::optional<ParamNumber> NumberOf(ParamAddress address, std::uint16_t raw);

/// The word for a number in the name's unit (a choice by its index), or why
/// it is refused, worded as ParseValue words it; `ownBits` as ParseValue gives them.
[[nodiscard]] ParsedValue ValueFromNumber(ParamAddress address, double number);

/// Where `raw` stands over the parameter's range, 0..1: a level by its
/// position in the level table (fader travel, not dB), a choice by its index
/// over the choices; none for words without a range.
[[nodiscard]] std::optional<double> NormalisedOf(ParamAddress address, std::uint16_t raw);

/// The word at position `normalised` (0..1, refused outside) of the range.
[[nodiscard]] ParsedValue ValueFromNormalised(ParamAddress address, double normalised);

/// Whether the value moves over a range a control travels smoothly (levels,
/// pan, dynamics, delays, filter and band frequencies, gains and Q), rather
/// than by choices or switches.
[[nodiscard]] bool HasContinuousRange(ParamAddress address);

}  // namespace rmt4
