#pragma once

// The network module takes whatever configuration it is sent and then lives
// by it: an unusable address, mask, gateway or MAC cuts the console off the
// network until someone resets the module by hand. So a configuration is
// checked before it is sent, and the module's verdict is read afterwards.
// The settings dialog and rmt4ctl both judge by these functions.

#include <span>
#include <string>
#include <string_view>

#include "i18n/label_id.h"
#include "platform/ipv4_address.h"
#include "protocol/module_configuration.h"

namespace rmt4 {

enum class NetworkSettingFault {
  kNone,
  kAddressNotDotted,  ///< not four numbers 0..255 between dots
  kMaskNotDotted,
  kGatewayNotDotted,
  kAddressUnusable,  ///< 0/8, loopback, link-local, broadcast, multicast, reserved, or the subnet's own number
  kMaskNotContiguous,  ///< not ones followed by zeros, or no ones at all
  kGatewayOutsideSubnet,  ///< neither 0.0.0.0 (no gateway) nor a host of the module's subnet
  kMacMalformed,  ///< not six hex pairs between dashes, or a group (multicast) or all-zero address
};

/// The settings as the user typed them: three dotted addresses and the MAC.
struct TypedNetworkSettings {
  std::string address;
  std::string mask;
  std::string gateway;
  std::string mac;
};

struct CheckedNetworkSettings {
  NetworkSettingFault fault = NetworkSettingFault::kNone;
  /// Complete only when there is no fault.
  ModuleConfiguration configuration;
};

/// Reads the typed settings and finds the first fault, in the order of the fields.
[[nodiscard]] CheckedNetworkSettings CheckTypedNetworkSettings(const TypedNetworkSettings& typed);

/// The first fault of `configuration`, checked in the order of the fields.
[[nodiscard]] NetworkSettingFault CheckNetworkSettings(const ModuleConfiguration& configuration);

/// The text that tells the user what is wrong, naming the field.
[[nodiscard]] LabelId NetworkSettingFaultText(NetworkSettingFault fault);

/// "00-11-22-33-44-55": the module's own form.
[[nodiscard]] bool IsWellFormedMac(std::string_view mac);

/// Whether the PC reaches `address` directly, on one of its own subnets.
[[nodiscard]] bool PcReaches(Ipv4Address address, std::span<const Ipv4Subnet> pcSubnets);

/// Whether the module's answer to "Set_Confi:" (the text after the name)
/// says it took the configuration. Only its "OK" does: an empty answer or
/// any other text is a refusal.
[[nodiscard]] bool ModuleAcceptedConfiguration(std::string_view verdict);

/// The module's answer as it can be shown to the user: printable characters
/// only, and no longer than any answer of the module is.
[[nodiscard]] std::string ShownVerdict(std::string_view verdict);

}  // namespace rmt4
