#include "protocol/network_settings_check.h"

#include <array>
#include <cstdint>

namespace rmt4 {
namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;
// 224.0.0.0/4 is multicast and 240.0.0.0/4 reserved: neither can be a device's own address.
constexpr std::uint32_t kFirstMulticast = 0xE0000000;
// Subnets narrower than /30 have no network number or broadcast to avoid.
constexpr std::uint32_t kNarrowestWithBroadcast = 0xFFFFFFFC;

bool IsContiguousMask(std::uint32_t mask) {
  const std::uint32_t hostBits = ~mask;
  return mask != 0 && (hostBits & (hostBits + 1)) == 0;
}

/// A host of the subnet: not reserved, and for subnets with room for it not
/// the subnet's own number or its broadcast address.
bool IsUsableHost(std::uint32_t address, std::uint32_t mask) {
  if (address == 0 || address == kLimitedBroadcast || address >= kFirstMulticast) return false;
  if (mask > kNarrowestWithBroadcast) return true;
  const std::uint32_t host = address & ~mask;
  return host != 0 && host != ~mask;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool IsWellFormedMac(std::string_view mac) {
  constexpr std::size_t kLength = 17;  // six pairs and five separators
  if (mac.size() != kLength || (mac[2] != '-' && mac[2] != ':')) return false;
  std::array<int, 6> octets{};
  for (std::size_t i = 0; i < octets.size(); ++i) {
    const std::size_t at = i * 3;
    const int high = HexDigit(mac[at]);
    const int low = HexDigit(mac[at + 1]);
    if (high < 0 || low < 0) return false;
    if (i + 1 < octets.size() && mac[at + 2] != mac[2]) return false;
    octets[i] = high * 16 + low;
  }
  const bool group = (octets[0] & 1) != 0;
  const bool allZero = octets == std::array<int, 6>{};
  return !group && !allZero;
}

NetworkSettingFault CheckNetworkSettings(const ModuleConfiguration& configuration) {
  const bool maskOk = IsContiguousMask(configuration.mask);
  // Without a valid mask the subnet is unknown: judge the address on its own.
  const std::uint32_t mask = maskOk ? configuration.mask : kLimitedBroadcast;
  if (!IsUsableHost(configuration.address, mask)) return NetworkSettingFault::kAddressUnusable;
  if (!maskOk) return NetworkSettingFault::kMaskNotContiguous;
  if ((configuration.gateway & mask) != (configuration.address & mask) || !IsUsableHost(configuration.gateway, mask)) {
    return NetworkSettingFault::kGatewayOutsideSubnet;
  }
  if (!IsWellFormedMac(configuration.mac)) return NetworkSettingFault::kMacMalformed;
  return NetworkSettingFault::kNone;
}

bool ModuleAcceptedConfiguration(std::string_view verdict) { return verdict.find("ERROR") == std::string_view::npos; }

}  // namespace rmt4
