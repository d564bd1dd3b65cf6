#include "transport/udp_socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>

namespace rmt4 {
namespace {

/// Datagrams taken in one receive; the rest waits for the next one.
constexpr int kMaxDatagramsPerReceive = 512;
/// Room for the replies to one sweep over a whole subnet.
constexpr int kReceiveBufferBytes = 1 << 20;

}  // namespace

int UdpSocket::Open(std::optional<Ipv4Address> address, std::uint16_t port) {
  Close();
  UniqueFd handle(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!handle.Valid()) return errno;
  const int on = 1;
  setsockopt(handle.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  setsockopt(handle.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const int bufferBytes = kReceiveBufferBytes;
  setsockopt(handle.Get(), SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
  const sockaddr_in local = SocketAddress(address.value_or(0), port);
  if (bind(handle.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return errno;
  socket_ = std::move(handle);
  return 0;
}

void UdpSocket::SendTo(Ipv4Address address, std::uint16_t port, std::string_view bytes) {
  if (!socket_.Valid()) return;
  const sockaddr_in remote = SocketAddress(address, port);
  sendto(socket_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&remote),
         sizeof remote);
}

void UdpSocket::ReceiveFor(std::chrono::milliseconds limit, const std::function<void(std::string_view)>& deliver) {
  if (!socket_.Valid()) return;
  pollfd waiting{socket_.Get(), POLLIN, 0};
  if (poll(&waiting, 1, static_cast<int>(limit.count())) <= 0) return;
  std::array<char, kMaxDatagram> buffer{};
  for (int taken = 0; taken < kMaxDatagramsPerReceive; ++taken) {
    // MSG_TRUNC reports the full length, so an oversized datagram is recognised and dropped.
    const ssize_t length = recv(socket_.Get(), buffer.data(), kMaxDatagram, MSG_DONTWAIT | MSG_TRUNC);
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) return;  // nothing more has arrived
    if (length == 0 || static_cast<std::size_t>(length) > kMaxDatagram) continue;
    deliver(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
  }
}

}  // namespace rmt4
