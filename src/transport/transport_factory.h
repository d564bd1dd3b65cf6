#pragma once

#include <optional>
#include <string>

#include "protocol/link_transport.h"
#include "platform/ipv4_address.h"

namespace rmt4 {

/// Narrows what a transport looks for, from a command line or a test.
struct TransportChoice {
  /// Serial: try only this device.
  std::optional<std::string> serialDevice;
  /// Network: ask only this console; no broadcast, no sweep.
  std::optional<Ipv4Address> onlyConsole;
  /// Network, with `onlyConsole`: connect at once, without the search's pauses.
  bool connectDirectly = false;
};

/// The program's transports, one per connection kind.
[[nodiscard]] TransportFactory MakeTransportFactory(TransportChoice choice = {});

}  // namespace rmt4
