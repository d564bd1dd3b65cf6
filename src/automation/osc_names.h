#pragma once

// Parameters by OSC address: the catalogue name with slashes for dots
// ("/ch3/fader"), case-insensitive, and OSC 1.0 address patterns that
// select several ("/ch*/mute", "/ch{1,2}/fader", "/aux[1-3]/mute").

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/address_map.h"
#include "values/param_bits.h"

namespace rmt4 {

/// Patterns longer than this are refused: no name comes near it.
inline constexpr std::size_t kMaxOscAddress = 256;

/// "/ch3/fader" for ch3.fader.
[[nodiscard]] const std::string& OscAddressOf(ParamAddress address);
/// "/ch1/48v" for the bit name ch1.48v.
[[nodiscard]] std::string OscAddressOf(const BitParam& bits);

/// Whether `address` holds any of the OSC pattern signs * ? [ {.
[[nodiscard]] bool HasOscPattern(std::string_view address);

/// An OSC 1.0 address pattern, checked once and matched against many
/// addresses. '*' and '?' never match a '/'; letters match either case.
class OscPattern {
 public:
  /// None when the pattern is malformed (an unclosed '[' or '{', a nested '{').
  [[nodiscard]] static std::optional<OscPattern> Compile(std::string_view pattern);
  [[nodiscard]] bool Matches(std::string_view address) const;

 private:
  struct Token {
    enum class Kind : std::uint8_t { kChar, kOne, kStar, kSet, kChoice };
    Kind kind = Kind::kChar;
    char character = 0;
    std::bitset<256> set;              ///< kSet: the lower-case characters it takes
    std::vector<std::string> choices;  ///< kChoice: lower case
  };
  std::vector<Token> tokens_;
};

/// The parameters and bit names an OSC address or pattern names, each in
/// address order, or why none (as rmt4ctl words an unknown name).
struct OscSelection {
  std::vector<ParamAddress> addresses;
  std::vector<const BitParam*> bits;
  std::string error;
};
[[nodiscard]] OscSelection SelectParams(std::string_view address);

}  // namespace rmt4
