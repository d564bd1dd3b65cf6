#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

/// An IPv4 address in host order, first octet in the most significant byte.
using Ipv4Address = std::uint32_t;

inline constexpr Ipv4Address kLoopbackAddress = 0x7F000001;

/// One network: an address on it and its mask.
struct Ipv4Subnet {
  Ipv4Address address = 0;
  Ipv4Address mask = 0;

  [[nodiscard]] constexpr bool Contains(Ipv4Address other) const { return (other & mask) == (address & mask); }
};

/// "a.b.c.d", most significant octet first.
[[nodiscard]] std::string FormatIpv4(Ipv4Address address);
/// Strict dotted decimal: four numbers 0..255 and nothing else.
[[nodiscard]] std::optional<Ipv4Address> ParseIpv4(std::string_view text);

}  // namespace rmt4
