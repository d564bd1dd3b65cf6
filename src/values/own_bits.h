#pragma once

// Words that pack several switches (mute and 48V, PFL and the console's
// flag, a send level and pre/post, a ratio and compressor off): an edit of
// one changes only its own bits, the others stay as the console holds them.

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/param_table.h"

namespace rmt4 {

/// Every bit of a word: a value that owns the whole word.
inline constexpr std::uint16_t kWholeWord = 0xFFFF;

/// `held` with the bits of `own` taken from `value`.
[[nodiscard]] constexpr std::uint16_t ReplaceOwnBits(std::uint16_t held, std::uint16_t value, std::uint16_t own) {
  return static_cast<std::uint16_t>((held & ~own) | (value & own));
}

/// Stores `value` at `address` changing only the bits `own` of the word the
/// table holds, and the same word at `companion` (a word always written with
/// this one's value). Returns the word stored.
std::uint16_t StoreOwnBits(ParamTable& table, ParamAddress address, std::uint16_t value, std::uint16_t own,
                           std::optional<ParamAddress> companion = std::nullopt);

/// An edit asked for by name from outside the windows (rmt4ctl, automation
/// clients), already checked: the word, and the bits of it the edit owns.
struct RequestedEdit {
  ParamAddress address = 0;
  std::uint16_t value = 0;
  std::uint16_t own = kWholeWord;
  friend bool operator==(const RequestedEdit&, const RequestedEdit&) = default;
};

/// Stores each edit through the edit path: a whole word with ParamSet, a part
/// of one with StoreOwnBits (and its catalogue companion). On the editing thread.
void StoreRequestedEdits(ParamTable& table, std::span<const RequestedEdit> edits);

}  // namespace rmt4
