#include "transport/tcp_link.h"

#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

#include "protocol/frame_parser.h"

namespace rmt4 {
namespace {

using SocketClock = std::chrono::steady_clock;

/// One receive takes at most one Ethernet payload.
constexpr std::size_t kReceiveBytes = 1500;
/// A send that the peer does not take within this counts as failed.
constexpr std::chrono::milliseconds kSendTimeout{1000};
/// Connect and send look at the run flag and at closing at least this often.
constexpr std::chrono::milliseconds kWaitSlice{20};

/// Waits until the socket takes bytes (or a connect has finished); false on
/// `deadline`, on a poll failure or as soon as `keepWaiting` says no.
template <typename KeepWaiting>
bool WaitWritable(int descriptor, SocketClock::time_point deadline, KeepWaiting keepWaiting) {
  while (keepWaiting()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SocketClock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{descriptor, POLLOUT, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
  return false;
}

}  // namespace

TcpLink::TcpLink(FrameParser& parser, const RunFlag& appRunning)
    : parser_(parser), appRunning_(appRunning) {}

TcpLink::~TcpLink() { Close(); }

OsResult TcpLink::Connect(Ipv4Address server, std::uint16_t port, std::optional<Ipv4Address> source,
                     std::chrono::milliseconds timeout) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  // Address 0 would reach this machine itself on Linux; there is no console there.
  if (server == 0) return OsResult(EADDRNOTAVAIL);

  // Non-blocking for good: the reader and Send wait in poll() with limits of their own, so no
  // switch to blocking mode (and no failure of one) can leave a thread stalled or spinning.
  UniqueFd handle(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!handle.Valid()) return OsResult::FromErrno();
  const int noDelay = 1;
  if (setsockopt(handle.Get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay) != 0) {
    NoteProblem("Frames to the console may be delayed: TCP_NODELAY cannot be set (" +
                OsResult::FromErrno().Text() + ").");
  }
  if (source) {
    const sockaddr_in local = SocketAddress(*source, 0);
    if (bind(handle.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return OsResult::FromErrno();
  }
  const sockaddr_in remote = SocketAddress(server, port);
  if (connect(handle.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
    if (errno != EINPROGRESS) return OsResult::FromErrno();
    if (!WaitWritable(handle.Get(), SocketClock::now() + timeout, [this] { return KeepWaiting(); })) {
      return OsResult(KeepWaiting() ? ETIMEDOUT : ECANCELED);
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(handle.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return OsResult::FromErrno();
    if (error != 0) return OsResult(error);
  }

  // Without its wake-up the reader could not be ended: no connection then.
  if (!readerWake_.Valid()) readerWake_ = UniqueFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!readerWake_.Valid()) return OsResult::FromErrno();
  socket_ = std::move(handle);
  readerStop_.store(false);
  std::uint64_t wakes = 0;
  (void)read(readerWake_.Get(), &wakes, sizeof wakes);  // the last Close's; nothing to take is fine
  if (!reader_.Start([this, descriptor = socket_.Get()] { ReadLoop(descriptor); })) {
    socket_.Reset();
    return OsResult(EAGAIN);
  }
  return {};
}

bool TcpLink::Send(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (!socket_.Valid()) return false;
  const SocketClock::time_point giveUp = SocketClock::now() + kSendTimeout;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result = send(socket_.Get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result > 0) {
      sent += static_cast<std::size_t>(result);
      continue;
    }
    if (result < 0 && errno == EINTR) continue;
    if (result < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
        WaitWritable(socket_.Get(), giveUp, [this] { return KeepWaiting(); })) {
      continue;
    }
    CloseLocked();
    return false;
  }
  return true;
}

void TcpLink::Close() {
  // Seen by a connect or send in progress, which then gives up within one wait slice.
  closeRequests_.fetch_add(1);
  {
    std::lock_guard lock(mutex_);
    CloseLocked();
  }
  closeRequests_.fetch_sub(1);
}

std::optional<std::string> TcpLink::TakeProblem() {
  std::lock_guard lock(problemMutex_);
  return std::exchange(problem_, std::nullopt);
}

bool TcpLink::KeepWaiting() const { return appRunning_.load() && closeRequests_.load() == 0; }

void TcpLink::NoteProblem(std::string text) {
  std::lock_guard lock(problemMutex_);
  problem_ = std::move(text);
}

void TcpLink::CloseLocked() {
  readerStop_.store(true);
  // Wakes the reader's poll at once; only fails when the counter is full, and then it is readable already.
  const std::uint64_t one = 1;
  if (readerWake_.Valid()) (void)write(readerWake_.Get(), &one, sizeof one);
  // Tells the console the conversation is over.
  if (socket_.Valid()) (void)shutdown(socket_.Get(), SHUT_RDWR);
  // The descriptor stays valid until the reader has ended.
  reader_.Join();
  socket_.Reset();
}

void TcpLink::ReadLoop(int descriptor) {
  (void)pthread_setname_np(pthread_self(), "tcp-reader");  // for top and the CPU benchmark
  std::array<std::uint8_t, kReceiveBytes> buffer{};
  // Sleeps until bytes arrive or Close wakes it: no time limit, so an idle connection costs no wake-ups.
  std::array<pollfd, 2> waiting{pollfd{descriptor, POLLIN, 0}, pollfd{readerWake_.Get(), POLLIN, 0}};
  while (appRunning_.load() && !readerStop_.load()) {
    const int ready = poll(waiting.data(), waiting.size(), -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || waiting[1].revents != 0) break;
    const ssize_t received = recv(descriptor, buffer.data(), buffer.size(), 0);
    if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (received <= 0) break;  // closed by the console or failed: silence tells the worker
    parser_.Parse(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(received)));
  }
}

}  // namespace rmt4
