#include "platform/socket_address.h"

#include <arpa/inet.h>
#include <sys/socket.h>

namespace rmt4 {

sockaddr_in SocketAddress(Ipv4Address address, std::uint16_t port) {
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_port = htons(port);
  socketAddress.sin_addr.s_addr = htonl(address);
  return socketAddress;
}

std::uint16_t BoundPort(int fd) {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) return 0;
  return ntohs(local.sin_port);
}

}  // namespace rmt4
