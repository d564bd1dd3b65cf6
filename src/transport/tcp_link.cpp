#include "transport/tcp_link.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "protocol/frame_parser.h"

namespace rmt4 {
namespace {

/// The reader looks at the run flags at least this often.
constexpr int kReceiveSliceMs = 200;
/// One receive takes at most one Ethernet payload.
constexpr std::size_t kReceiveBytes = 1500;
/// A send that the peer does not take within this counts as failed.
constexpr int kSendTimeoutMs = 1000;
/// The connect looks at the run flag at least this often.
constexpr long long kConnectSliceMs = 50;

void SetTimeout(int descriptor, int option, int milliseconds) {
  timeval limit{};
  limit.tv_sec = milliseconds / 1000;
  limit.tv_usec = (milliseconds % 1000) * 1000;
  setsockopt(descriptor, SOL_SOCKET, option, &limit, sizeof limit);
}

/// Waits for a non-blocking connect to finish; returns 0 or the error number.
int FinishConnect(int descriptor, std::chrono::milliseconds timeout, const std::atomic<bool>& appRunning) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (appRunning.load()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return ETIMEDOUT;
    pollfd waiting{descriptor, POLLOUT, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(std::min<long long>(left.count(), kConnectSliceMs)));
    if (ready < 0 && errno != EINTR) return errno;
    if (ready <= 0) continue;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
  }
  return ECANCELED;
}

}  // namespace

TcpLink::TcpLink(FrameParser& parser, const std::atomic<bool>& appRunning)
    : parser_(parser), appRunning_(appRunning) {}

TcpLink::~TcpLink() { Close(); }

int TcpLink::Connect(Ipv4Address server, std::uint16_t port, std::optional<Ipv4Address> source,
                     std::chrono::milliseconds timeout) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  // Address 0 would reach this machine itself on Linux; there is no console there.
  if (server == 0) return EADDRNOTAVAIL;

  UniqueFd handle(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!handle.Valid()) return errno;
  const int noDelay = 1;
  setsockopt(handle.Get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  if (source) {
    const sockaddr_in local = SocketAddress(*source, 0);
    if (bind(handle.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return errno;
  }
  const sockaddr_in remote = SocketAddress(server, port);
  if (connect(handle.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
    const int result = errno == EINPROGRESS ? FinishConnect(handle.Get(), timeout, appRunning_) : errno;
    if (result != 0) return result;
  }

  // Blocking from here on, with time limits so that neither direction stalls a thread for long.
  fcntl(handle.Get(), F_SETFL, fcntl(handle.Get(), F_GETFL) & ~O_NONBLOCK);
  SetTimeout(handle.Get(), SO_RCVTIMEO, kReceiveSliceMs);
  SetTimeout(handle.Get(), SO_SNDTIMEO, kSendTimeoutMs);
  socket_ = std::move(handle);
  readerStop_.store(false);
  reader_.Start([this, descriptor = socket_.Get()] { ReadLoop(descriptor); });
  return 0;
}

bool TcpLink::Send(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (!socket_.Valid()) return false;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result = send(socket_.Get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) {
      CloseLocked();
      return false;
    }
    sent += static_cast<std::size_t>(result);
  }
  return true;
}

void TcpLink::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

void TcpLink::CloseLocked() {
  readerStop_.store(true);
  // Wakes a receive in progress; the descriptor stays valid until the reader has ended.
  if (socket_.Valid()) shutdown(socket_.Get(), SHUT_RDWR);
  reader_.Join();
  socket_.Reset();
}

void TcpLink::ReadLoop(int descriptor) {
  std::array<std::uint8_t, kReceiveBytes> buffer{};
  while (appRunning_.load() && !readerStop_.load()) {
    const ssize_t received = recv(descriptor, buffer.data(), buffer.size(), 0);
    if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (received <= 0) break;  // closed by the console or failed: silence tells the worker
    parser_.Parse(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(received)));
  }
}

}  // namespace rmt4
