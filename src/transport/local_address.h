#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ipv4_address.h"
#include "protocol/run_flag.h"

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

/// The networks of this PC's interfaces that are up, loopback left out: the
/// addresses it reaches without a router.
[[nodiscard]] std::vector<Ipv4Subnet> PcSubnets();

/// What the search asks the system; tests put their own answers here.
struct LocalAddressQueries {
  std::function<std::vector<InterfaceAddress>()> interfaces;
  /// The first IPv4 address the host name resolves to. May block for as long
  /// as the resolver takes, so it never runs on the searching thread.
  std::function<std::optional<Ipv4Address>()> hostNameAddress;

  [[nodiscard]] static LocalAddressQueries System();
};

/// Asks for the interfaces every 10 ms until an address other than loopback
/// turns up, `limit` passes or `keepGoing` clears; then takes what it has,
/// loopback at worst. The host name is looked up at most once per search, on
/// a thread of its own, and only while no interface qualifies: a resolver
/// that hangs neither slows the tries nor holds up the end of the search. A
/// machine without a network thus never hangs here.
[[nodiscard]] Ipv4Address FindLocalAddress(RunFlag& keepGoing, std::chrono::milliseconds limit,
                                           const LocalAddressQueries& queries = LocalAddressQueries::System());

}  // namespace rmt4
