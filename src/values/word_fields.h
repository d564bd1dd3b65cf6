#pragma once

// The named things a word holds: most words are one value, some pack several
// (mute and 48V, a send level and pre/post, a ratio and compressor off, the
// buses of the PFL word). Taking a change back touches only the things it
// changed, so what the console changed beside them stays.

#include <cstdint>

#include "protocol/address_map.h"

namespace rmt4 {

/// The bits of every named thing of the word at `address` that differs
/// between `before` and `after` (0 when none does).
[[nodiscard]] std::uint16_t ChangedFields(ParamAddress address, std::uint16_t before, std::uint16_t after);

}  // namespace rmt4
