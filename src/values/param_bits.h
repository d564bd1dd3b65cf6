#pragma once

// Names for the things a user thinks of separately inside one word: phantom
// power beside the mute bit, a send's pre/post beside its level, the
// compressor's switch beside its ratio, each bus of the PFL bus word. Each
// name reads and writes only its own bits; the word's name keeps its meaning.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "values/param_catalogue.h"

namespace rmt4 {

struct BitParam {
  std::string name;  ///< lower case, e.g. "ch1.48v", "ch3.send.aux2.pre", "sys.pfl.fx1"
  ParamAddress address = 0;
  std::uint16_t mask = 0;
  std::string_view setWord;    ///< how the bits read when set: "ON", "pre", "off"…
  std::string_view clearWord;  ///< …and when clear: "OFF", "post", "on"
  /// Whether set bits mean the thing is on (not so for the compressor-off flag).
  bool setIsOn = true;
};

/// Every bit name, in address order.
[[nodiscard]] std::span<const BitParam> BitParams();
/// The bit name called `name` (case-insensitive, no wildcards); null for none.
[[nodiscard]] const BitParam* FindBitParam(std::string_view name);
/// The bit names matching `pattern` as MatchParams matches, in address order.
[[nodiscard]] std::vector<const BitParam*> MatchBitParams(std::string_view pattern);
/// The bit names over `address`.
[[nodiscard]] std::vector<const BitParam*> BitParamsAt(ParamAddress address);

/// As a number: 1 when the thing is on (ON, pre, the compressor on), 0 when off.
[[nodiscard]] int BitsNumber(const BitParam& bits, std::uint16_t raw);
/// The bits (within the mask) that make the thing on or off.
[[nodiscard]] std::uint16_t BitsFor(const BitParam& bits, bool on);

/// "ON", "post"…
[[nodiscard]] std::string FormatBits(const BitParam& bits, std::uint16_t raw);
/// What may be typed, e.g. "ON|OFF".
[[nodiscard]] std::string BitRangeText(const BitParam& bits);
/// The word's bits for a typed word ("on", "pre", 1 or 0), owning only the
/// name's mask; refused naming the name and what it takes.
[[nodiscard]] ParsedValue ParseBits(const BitParam& bits, std::string_view text);

}  // namespace rmt4
