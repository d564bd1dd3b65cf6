#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ipv4_address.h"

namespace rmt4 {

/// Where the network transport looks for the console. The defaults are the
/// console's fixed ports and the local broadcast; the environment can replace
/// each of them, so tests and demos stay on loopback.
struct NetworkEndpoints {
  /// This PC's address; found from the network adapters when not given.
  std::optional<Ipv4Address> localAddress;
  Ipv4Address broadcastAddress = 0xFFFFFFFF;
  std::uint16_t tcpPort = 6010;
  /// The module's port and this PC's own UDP port.
  std::uint16_t udpPort = 1010;
  /// Ask only this module: no broadcast and no sweep (set by a caller, not the environment).
  std::optional<Ipv4Address> onlyConsole;
  /// With `onlyConsole`: connect to it over TCP at once, without the search's
  /// pauses and without waiting for the module to say it is free (a
  /// short-lived client; set by a caller). The search still runs beside it
  /// for the module commands.
  bool connectDirectly = false;
  /// Variables that were set but could not be used; the defaults stand for them.
  std::vector<std::string> problems;

  /// Returns the value of an environment variable, nothing when unset.
  using Lookup = std::function<std::optional<std::string>(std::string_view name)>;

  /// Reads RMT4_LOCAL_ADDRESS, RMT4_BROADCAST_ADDRESS, RMT4_TCP_PORT and RMT4_UDP_PORT.
  [[nodiscard]] static NetworkEndpoints FromEnvironment(const Lookup& lookup);
  /// The same from the process environment.
  [[nodiscard]] static NetworkEndpoints FromEnvironment();
};

}  // namespace rmt4
