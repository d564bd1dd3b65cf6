#include "platform/ipv4_address.h"

#include <charconv>

namespace rmt4 {

std::string FormatIpv4(Ipv4Address address) {
  return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
         std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::optional<Ipv4Address> ParseIpv4(std::string_view text) {
  Ipv4Address address = 0;
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (at == end || *at != '.') return std::nullopt;
      ++at;
    }
    if (at == end || *at < '0' || *at > '9') return std::nullopt;
    unsigned value = 0;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc{} || value > 255 || next - at > 3) return std::nullopt;
    address = (address << 8) | value;
    at = next;
  }
  if (at != end) return std::nullopt;
  return address;
}

}  // namespace rmt4
