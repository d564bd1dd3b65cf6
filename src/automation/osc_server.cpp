#include "automation/osc_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <thread>

#include "automation/osc_dispatch.h"
#include "automation/osc_option_text.h"
#include "platform/ipv4_address.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "protocol/wire_trace_line.h"
#include "values/label_format.h"

namespace rmt4 {
namespace {

/// Followers, meters and fades move at the link's pace.
constexpr std::int64_t kTickMs = 50;
/// Packets read before the host hears of their edits, so a flood still lets edits through.
constexpr int kPacketsPerBatch = 256;

/// Why the server cannot serve on `where`, in the user's language, with the system's reason.
std::string CannotServe(const std::string& where) {
  return FormatLabel(LabelId::OscCannotServeFormat, where) + ": " + std::strerror(errno);
}

}  // namespace

OscLinkStatus OscStatusOf(LinkStatus status, std::string transport, unsigned deviceType) {
  OscLinkStatus result{.state = "", .transport = std::move(transport), .console = ""};
  result.state = status == LinkStatus::Starting ? "searching" : std::string(StatusName(status));
  if (status == LinkStatus::Connected && deviceType != 0) result.console = "device type " + std::to_string(deviceType);
  return result;
}

std::optional<std::string> CheckOscServerOptions(const OscServerOptions& options) {
  if (!ParseIpv4(options.bindAddress)) return FormatLabel(LabelId::OscBindAddressInvalidFormat, options.bindAddress);
  for (const std::string& allowed : options.allow) {
    if (!ParseOscSenders(allowed)) return FormatLabel(LabelId::OscAllowInvalidFormat, allowed);
  }
  return std::nullopt;
}

struct OscServer::Impl {
  Impl(ParamTable& p, OscHost& h, OscServerOptions o, Clock& c)
      : params(p), host(h), options(std::move(o)), clock(c), state{params, clients, fades, edits, [this] {
                                                                     return host.Status();
                                                                   }} {}

  void Serve();
  /// Reads what waits on the socket, a batch at a time.
  void Receive();
  bool Allowed(Ipv4Address sender) const;
  void Send(const OscOutgoing& outgoing) const;
  /// Sends `followers` the message `make` makes, made only when someone follows.
  void Push(const std::vector<OscPeer>& followers, const std::function<OscMessage()>& make) const;
  /// Moves the fades and tells the followers what changed.
  void Tick(std::int64_t nowMs);

  ParamTable& params;
  OscHost& host;
  const OscServerOptions options;
  Clock& clock;
  std::vector<Ipv4Subnet> allowed;
  UniqueFd socket;
  UniqueFd wake;
  std::uint16_t port = 0;
  std::thread thread;
  OscPendingEdits edits;
  std::atomic<std::uint64_t> packets{0};
  std::atomic<std::uint64_t> dropped{0};
  std::atomic<std::uint64_t> refused{0};

  // The server thread's own.
  OscClients clients;
  Fades fades;
  OscState state;
  std::array<std::uint16_t, kParamCount> lastSent{};
};

bool OscServer::Impl::Allowed(Ipv4Address sender) const {
  return allowed.empty() ||
         std::any_of(allowed.begin(), allowed.end(), [&](const Ipv4Subnet& subnet) { return subnet.Contains(sender); });
}

void OscServer::Impl::Send(const OscOutgoing& outgoing) const {
  const std::vector<std::uint8_t> packet = EncodeOscMessage(outgoing.message);
  const sockaddr_in to = SocketAddress(outgoing.to.address, outgoing.to.port);
  // A client that is gone or slow loses the datagram, as UDP does; the server goes on.
  (void)::sendto(socket.Get(), packet.data(), packet.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to);
}

void OscServer::Impl::Push(const std::vector<OscPeer>& followers, const std::function<OscMessage()>& make) const {
  if (followers.empty()) return;
  const OscMessage message = make();
  for (const OscPeer& follower : followers) Send({follower, message});
}

void OscServer::Impl::Receive() {
  bool edited = false;
  std::array<std::uint8_t, kMaxOscPacket> buffer{};
  for (int i = 0; i < kPacketsPerBatch; ++i) {
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    // MSG_TRUNC gives the datagram's real size, so an oversized one is known as such.
    const ssize_t size = ::recvfrom(socket.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC,
                                    reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (size < 0) break;
    packets.fetch_add(1);
    const OscPeer sender{AddressOf(from), ntohs(from.sin_port)};
    if (static_cast<std::size_t>(size) > buffer.size() || !Allowed(sender.address)) {
      dropped.fetch_add(1);
      continue;
    }
    const OscDispatched dispatched = DispatchOscPacket(
        std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(size)), sender, clock.NowMs(), state);
    if (dispatched.malformed) dropped.fetch_add(1);
    refused.fetch_add(static_cast<std::uint64_t>(dispatched.refused));
    for (const OscOutgoing& reply : dispatched.replies) Send(reply);
    edited = edited || dispatched.edited;
  }
  if (edited) host.EditsWaiting();
}

void OscServer::Impl::Tick(std::int64_t nowMs) {
  bool stepped = false;
  for (const RequestedEdit& step : fades.Tick(nowMs, [this](ParamAddress a) { return params.Value(a); })) {
    edits.Add(step);
    stepped = true;
  }
  if (stepped) host.EditsWaiting();
  clients.Expire(nowMs);
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    const std::uint16_t value = params.Value(a);
    const auto changed = static_cast<std::uint16_t>(value ^ lastSent[a]);
    if (changed == 0) continue;
    lastSent[a] = value;
    Push(clients.Followers(a, nowMs), [&] { return ValueMessage(params, a); });
    for (const BitParam* bits : BitParamsAt(a)) {
      if ((changed & bits->mask) == 0) continue;
      Push(clients.Followers(*bits, nowMs), [&] { return BitsMessage(params, *bits); });
    }
  }
  const std::vector<OscPeer> watchers = clients.MeterWatchers(nowMs);
  if (!watchers.empty()) {
    const OscMessage meters = MetersMessage(params.Value(address::kLevelMeters));
    for (const OscPeer& watcher : watchers) Send({watcher, meters});
  }
}

// Sleeps in poll() without a time-out while nobody follows anything and
// nothing fades; otherwise wakes every tick.
void OscServer::Impl::Serve() {
  bool live = false;
  std::int64_t nextTickMs = 0;
  while (true) {
    std::int64_t nowMs = clock.NowMs();
    const bool wasLive = live;
    live = clients.AnyLive(nowMs) || !fades.Empty();
    if (live && !wasLive) {
      // Followers hear of changes from now on, not of those made while nobody listened.
      for (ParamAddress a = 0; a < kParamCount; ++a) lastSent[a] = params.Value(a);
      nextTickMs = nowMs + kTickMs;
    }
    std::array<pollfd, 2> fds{pollfd{wake.Get(), POLLIN, 0}, pollfd{socket.Get(), POLLIN, 0}};
    const int timeout = live ? static_cast<int>(std::clamp<std::int64_t>(nextTickMs - nowMs, 0, kTickMs)) : -1;
    if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
    if ((fds[0].revents & POLLIN) != 0) return;
    if ((fds[1].revents & POLLIN) != 0) Receive();
    nowMs = clock.NowMs();
    if (live && nowMs >= nextTickMs) {
      Tick(nowMs);
      nextTickMs = std::max(nextTickMs + kTickMs, nowMs + 1);
    }
  }
}

OscServer::OscServer(ParamTable& params, OscHost& host, OscServerOptions options, Clock& clock)
    : impl_(std::make_unique<Impl>(params, host, std::move(options), clock)) {}

OscServer::~OscServer() { Stop(); }

std::optional<std::string> OscServer::Start() {
  Impl& impl = *impl_;
  if (impl.thread.joinable()) return std::nullopt;
  if (auto problem = CheckOscServerOptions(impl.options)) return problem;
  impl.allowed.clear();
  for (const std::string& allowed : impl.options.allow) impl.allowed.push_back(*ParseOscSenders(allowed));
  const std::string where = impl.options.bindAddress + ":" + std::to_string(impl.options.port);
  UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket.Valid()) return CannotServe(where);
  const sockaddr_in address = SocketAddress(*ParseIpv4(impl.options.bindAddress), impl.options.port);
  if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return CannotServe(where);
  }
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.Valid()) return CannotServe(where);
  impl.port = BoundPort(socket.Get());
  impl.socket = std::move(socket);
  impl.wake = std::move(wake);
  impl.thread = std::thread([&impl] { impl.Serve(); });
  return std::nullopt;
}

void OscServer::Stop() {
  Impl& impl = *impl_;
  if (!impl.thread.joinable()) return;
  const std::uint64_t one = 1;
  (void)::write(impl.wake.Get(), &one, sizeof one);
  impl.thread.join();
  impl.socket.Reset();
  impl.wake.Reset();
}

std::uint16_t OscServer::port() const { return impl_->port; }

std::vector<RequestedEdit> OscServer::TakeEdits() { return impl_->edits.Take(); }

OscCounters OscServer::counters() const {
  return {impl_->packets.load(), impl_->dropped.load(), impl_->refused.load()};
}

}  // namespace rmt4
