#pragma once

// The network module takes whatever configuration it is sent and then lives
// by it: an unusable address, mask, gateway or MAC cuts the console off the
// network until someone resets the module by hand. So a configuration is
// checked before it is sent, and the module's verdict is read afterwards.

#include <string_view>

#include "protocol/module_configuration.h"

namespace rmt4 {

enum class NetworkSettingFault {
  kNone,
  kAddressUnusable,     ///< 0.0.0.0, a broadcast, multicast or reserved address, or the subnet's own number
  kMaskNotContiguous,   ///< not ones followed by zeros, or no ones at all
  kGatewayOutsideSubnet,
  kMacMalformed,        ///< not six hex pairs, or a group (multicast) or all-zero address
};

/// The first fault of `configuration`, checked in the order of the fields.
[[nodiscard]] NetworkSettingFault CheckNetworkSettings(const ModuleConfiguration& configuration);

/// "00-11-22-33-44-55" or "00:11:22:33:44:55", one separator throughout.
[[nodiscard]] bool IsWellFormedMac(std::string_view mac);

/// Whether the module's answer to "Set_Confi:" (the text after the name)
/// says it took the configuration; it answers "ERROR" when it refused it.
[[nodiscard]] bool ModuleAcceptedConfiguration(std::string_view verdict);

}  // namespace rmt4
