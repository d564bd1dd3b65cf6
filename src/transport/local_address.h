#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <vector>

#include "protocol/ipv4_address.h"

namespace rmt4 {

/// One IPv4 address of a network interface.
struct InterfaceAddress {
  Ipv4Address address;
  bool up;
  bool loopback;
};

/// This PC's address on the console's network: the first non-loopback IPv4
/// address of an interface that is up, else the host name's address.
[[nodiscard]] std::optional<Ipv4Address> ChooseLocalAddress(const std::vector<InterfaceAddress>& interfaces,
                                                            std::optional<Ipv4Address> hostNameAddress);

/// Asks the system (interfaces, then the host name) every 10 ms until an
/// address other than loopback turns up, `limit` passes or `keepGoing`
/// clears; then takes what it has, loopback at worst. A machine without a
/// network thus never hangs here.
[[nodiscard]] Ipv4Address FindLocalAddress(const std::atomic<bool>& keepGoing, std::chrono::milliseconds limit);

}  // namespace rmt4
