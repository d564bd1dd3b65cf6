#pragma once

#include <netinet/in.h>

#include <cstdint>

#include "platform/ipv4_address.h"

namespace rmt4 {

/// An IPv4 socket address from host-order parts.
[[nodiscard]] sockaddr_in SocketAddress(Ipv4Address address, std::uint16_t port);
[[nodiscard]] inline Ipv4Address AddressOf(const sockaddr_in& socketAddress) { return ntohl(socketAddress.sin_addr.s_addr); }
/// The port a bound socket actually got (port 0 asks the system for one); 0 on failure.
[[nodiscard]] std::uint16_t BoundPort(int fd);

}  // namespace rmt4
