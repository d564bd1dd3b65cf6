#include "transport/socket_handle.h"

#include <unistd.h>

namespace rmt4 {

void SocketHandle::Reset() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

sockaddr_in SocketAddress(Ipv4Address address, std::uint16_t port) {
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_port = htons(port);
  socketAddress.sin_addr.s_addr = htonl(address);
  return socketAddress;
}

}  // namespace rmt4
