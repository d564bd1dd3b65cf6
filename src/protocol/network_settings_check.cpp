#include "protocol/network_settings_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace rmt4 {
namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;
// 224.0.0.0/4 is multicast and 240.0.0.0/4 reserved: neither can be a device's own address.
constexpr std::uint32_t kFirstMulticast = 0xE0000000;
// Subnets narrower than /30 have no network number or broadcast to avoid.
constexpr std::uint32_t kNarrowestWithBroadcast = 0xFFFFFFFC;
// "This network" (0/8) and loopback (127/8) never reach the wire; a link-local
// address (169.254/16) is what a device takes when nobody configured it.
constexpr Ipv4Subnet kNeverAModuleAddress[] = {
    {0x00000000, 0xFF000000}, {0x7F000000, 0xFF000000}, {0xA9FE0000, 0xFFFF0000}};
// On stage networks without a router the module is told "no gateway" this way.
constexpr std::uint32_t kNoGateway = 0;

bool IsContiguousMask(std::uint32_t mask) {
  const std::uint32_t hostBits = ~mask;
  return mask != 0 && (hostBits & (hostBits + 1)) == 0;
}

/// A host of the subnet: not reserved, and for subnets with room for it not
/// the subnet's own number or its broadcast address.
bool IsUsableHost(std::uint32_t address, std::uint32_t mask) {
  if (address == kLimitedBroadcast || address >= kFirstMulticast) return false;
  if (mask > kNarrowestWithBroadcast) return true;
  const std::uint32_t host = address & ~mask;
  return host != 0 && host != ~mask;
}

bool IsUsableModuleAddress(std::uint32_t address, std::uint32_t mask) {
  const bool reserved = std::any_of(std::begin(kNeverAModuleAddress), std::end(kNeverAModuleAddress),
                                    [&](const Ipv4Subnet& subnet) { return subnet.Contains(address); });
  return !reserved && IsUsableHost(address, mask);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool IsWellFormedMac(std::string_view mac) {
  constexpr std::size_t kLength = 17;  // six pairs and five dashes
  if (mac.size() != kLength) return false;
  std::array<int, 6> octets{};
  for (std::size_t i = 0; i < octets.size(); ++i) {
    const std::size_t at = i * 3;
    const int high = HexDigit(mac[at]);
    const int low = HexDigit(mac[at + 1]);
    if (high < 0 || low < 0) return false;
    if (i + 1 < octets.size() && mac[at + 2] != '-') return false;
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
  if (!IsUsableModuleAddress(configuration.address, mask)) return NetworkSettingFault::kAddressUnusable;
  if (!maskOk) return NetworkSettingFault::kMaskNotContiguous;
  const std::uint32_t gateway = configuration.gateway;
  if (gateway != kNoGateway &&
      (!Ipv4Subnet{configuration.address, mask}.Contains(gateway) || !IsUsableHost(gateway, mask))) {
    return NetworkSettingFault::kGatewayOutsideSubnet;
  }
  if (!IsWellFormedMac(configuration.mac)) return NetworkSettingFault::kMacMalformed;
  return NetworkSettingFault::kNone;
}

CheckedNetworkSettings CheckTypedNetworkSettings(const TypedNetworkSettings& typed) {
  const std::optional<Ipv4Address> address = ParseIpv4(typed.address);
  const std::optional<Ipv4Address> mask = ParseIpv4(typed.mask);
  const std::optional<Ipv4Address> gateway = ParseIpv4(typed.gateway);
  if (!address) return {NetworkSettingFault::kAddressNotDotted, {}};
  if (!mask) return {NetworkSettingFault::kMaskNotDotted, {}};
  if (!gateway) return {NetworkSettingFault::kGatewayNotDotted, {}};
  CheckedNetworkSettings checked{NetworkSettingFault::kNone, {*address, *mask, *gateway, typed.mac}};
  checked.fault = CheckNetworkSettings(checked.configuration);
  return checked;
}

LabelId NetworkSettingFaultText(NetworkSettingFault fault) {
  switch (fault) {
    case NetworkSettingFault::kAddressNotDotted:
      return LabelId::NetAddressNotDotted;
    case NetworkSettingFault::kMaskNotDotted:
      return LabelId::NetMaskNotDotted;
    case NetworkSettingFault::kGatewayNotDotted:
      return LabelId::NetGatewayNotDotted;
    case NetworkSettingFault::kAddressUnusable:
      return LabelId::NetAddressUnusable;
    case NetworkSettingFault::kMaskNotContiguous:
      return LabelId::NetMaskNotContiguous;
    case NetworkSettingFault::kGatewayOutsideSubnet:
      return LabelId::NetGatewayOutsideSubnet;
    case NetworkSettingFault::kMacMalformed:
    case NetworkSettingFault::kNone:
      break;
  }
  return LabelId::NetMacMalformed;
}

bool PcReaches(Ipv4Address address, std::span<const Ipv4Subnet> pcSubnets) {
  return std::any_of(pcSubnets.begin(), pcSubnets.end(),
                     [&](const Ipv4Subnet& subnet) { return subnet.Contains(address); });
}

bool ModuleAcceptedConfiguration(std::string_view verdict) {
  // The module may end its answer with a line end or zeros.
  const std::size_t end = verdict.find_last_not_of(std::string_view("\0\t\n\r ", 5));
  return verdict.substr(0, end == std::string_view::npos ? 0 : end + 1) == "OK";
}

std::string ShownVerdict(std::string_view verdict) {
  constexpr std::size_t kMaxShown = 64;
  std::string shown;
  for (const char c : verdict) {
    if (shown.size() == kMaxShown) break;
    if (c >= ' ' && c <= '~') shown.push_back(c);
  }
  return shown;
}

}  // namespace rmt4
