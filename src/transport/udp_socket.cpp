#include "transport/udp_socket.h"

#include <poll.h>
#include <sys/eventfd.h>
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

UdpSocket::UdpSocket() : interrupt_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

OsResult UdpSocket::Open(std::optional<Ipv4Address> address, std::uint16_t port) {
  Close();
  UniqueFd handle(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!handle.Valid()) return OsResult::FromErrno();
  // Without broadcast, a shared port or room for a sweep's replies the search would fail unseen.
  const int on = 1;
  const int bufferBytes = kReceiveBufferBytes;
  if (setsockopt(handle.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
      setsockopt(handle.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      setsockopt(handle.Get(), SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes) != 0) {
    return OsResult::FromErrno();
  }
  const sockaddr_in local = SocketAddress(address.value_or(0), port);
  if (bind(handle.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return OsResult::FromErrno();
  socket_ = std::move(handle);
  return {};
}

OsResult UdpSocket::SendTo(Ipv4Address address, std::uint16_t port, std::string_view bytes) {
  if (!socket_.Valid()) return OsResult(EBADF);
  const sockaddr_in remote = SocketAddress(address, port);
  // Never waits: a full send queue is one more lost datagram, not a stalled search.
  if (sendto(socket_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&remote), sizeof remote) < 0) {
    return OsResult::FromErrno();
  }
  return {};
}

bool UdpSocket::ReceiveFor(std::chrono::milliseconds limit,
                           const std::function<void(std::string_view text, Ipv4Address sender)>& deliver) {
  // Without a socket poll() just waits (it skips negative descriptors), so callers never spin.
  std::array<pollfd, 2> waiting{pollfd{socket_.Get(), POLLIN, 0}, pollfd{interrupt_.Get(), POLLIN, 0}};
  if (poll(waiting.data(), waiting.size(), static_cast<int>(limit.count())) <= 0) return false;
  if (waiting[0].revents == 0) return false;  // interrupted
  std::array<char, kMaxDatagram> buffer{};
  for (int taken = 0; taken < kMaxDatagramsPerReceive; ++taken) {
    // MSG_TRUNC reports the full length, so an oversized datagram is recognised and dropped.
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const ssize_t length = recvfrom(socket_.Get(), buffer.data(), kMaxDatagram, MSG_DONTWAIT | MSG_TRUNC,
                                    reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) return true;  // nothing more has arrived
    if (length == 0 || static_cast<std::size_t>(length) > kMaxDatagram) continue;
    deliver(std::string_view(buffer.data(), static_cast<std::size_t>(length)), AddressOf(sender));
  }
  return true;
}

void UdpSocket::Interrupt() {
  const std::uint64_t one = 1;
  // Only fails when the counter is full, and then it is readable already.
  (void)write(interrupt_.Get(), &one, sizeof one);
}

void UdpSocket::Rearm() {
  std::uint64_t count = 0;
  (void)read(interrupt_.Get(), &count, sizeof count);  // non-blocking: nothing to take is fine
}

}  // namespace rmt4
