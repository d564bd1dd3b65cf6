#include "emulator/socket_util.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace rmt4::emulator {

BoundSocket BindSocket(int type, Ipv4 address, std::uint16_t port, std::string_view what) {
  const std::string where = std::string(what) + ' ' + FormatIpv4(address) + ':' + std::to_string(port);
  BoundSocket bound{UniqueFd(::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)), {}};
  if (!bound.fd.Valid()) return {UniqueFd(), ErrnoText("cannot create " + where)};
  // Lets the PC side bind the same UDP port on the wildcard address, and a
  // restarted emulator reuse its TCP port at once.
  const int on = 1;
  if (::setsockopt(bound.fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
    return {UniqueFd(), ErrnoText("cannot set SO_REUSEADDR on " + where)};
  }
  const sockaddr_in local = SocketAddress(address, port);
  if (::bind(bound.fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    std::string error = ErrnoText("cannot bind " + where);
    if (errno == EACCES && port < 1024) {
      error +=
          " (ports below 1024 need privileges: choose a higher port with the port options, or run "
          "'sudo setcap cap_net_bind_service=+ep rmt4-console')";
    }
    return {UniqueFd(), error};
  }
  return bound;
}

std::string ErrnoText(std::string_view what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace rmt4::emulator
