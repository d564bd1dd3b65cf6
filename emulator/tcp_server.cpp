#include "emulator/tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <stdexcept>

#include "emulator/socket_util.h"

namespace rmt4::emulator {
namespace {

constexpr std::size_t kReadBytes = 1500;
constexpr auto kUnplugWait = std::chrono::seconds(2);

}  // namespace

TcpServer::TcpServer(UniqueFd listening, Services services)
    : listening_(std::move(listening)), services_(services), unplugWake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!unplugWake_.Valid()) throw std::runtime_error(ErrnoText("eventfd failed"));
  thread_ = std::thread([this] { Run(); });
}

TcpServer::~TcpServer() {
  // Whether or not the owner raised the shared stop; the thread closes its client on the way out.
  destroying_.Raise();
  thread_.join();
}

bool TcpServer::Unplug() {
  std::unique_lock lock(peerMutex_);
  unplugRequested_ = true;
  const std::uint64_t one = 1;
  if (::write(unplugWake_.Get(), &one, sizeof one) < 0) {
    services_.log.Error(ErrnoText("cannot wake the TCP server to unplug"));
    unplugRequested_ = false;
    return false;
  }
  unplugDone_.wait_for(lock, kUnplugWait, [this] { return !unplugRequested_; });
  return !unplugRequested_ && unplugResult_;
}

std::optional<Ipv4> TcpServer::Peer() const {
  std::lock_guard lock(peerMutex_);
  return peer_;
}

void TcpServer::Run() {
  while (true) {
    std::array<pollfd, 5> watched{{{services_.stop.Fd(), POLLIN, 0},
                                   {destroying_.Fd(), POLLIN, 0},
                                   {unplugWake_.Get(), POLLIN, 0},
                                   {listening_.Get(), POLLIN, 0},
                                   {client_ ? client_->fd.Get() : -1, POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), -1) < 0) {
      if (errno == EINTR) continue;
      services_.log.Error(ErrnoText("TCP poll failed"));
      break;
    }
    if (watched[0].revents != 0 || watched[1].revents != 0) break;
    // The client first: a PC that closed and reconnected at once must find its old connection gone.
    if (client_ && watched[4].revents != 0 && !ReadClient()) CloseClient();
    if (watched[2].revents != 0) ServeUnplugRequest();
    if (watched[3].revents != 0) Accept();
  }
  CloseClient();
}

void TcpServer::Accept() {
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  UniqueFd fd(::accept4(listening_.Get(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC | SOCK_NONBLOCK));
  if (!fd.Valid()) {
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) services_.log.Error(ErrnoText("TCP accept failed"));
    return;
  }
  const Ipv4 address = ntohl(peer.sin_addr.s_addr);
  if (client_) {
    services_.log.Info("TCP: " + FormatIpv4(address) + " refused, " + FormatIpv4(client_->address) +
                       " is connected");
    return;  // closing fd refuses the second PC
  }
  const int on = 1;
  if (::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
    services_.log.Error(ErrnoText("TCP_NODELAY failed, replies may be delayed"));
  }
  auto client = std::make_unique<Client>();
  client->address = address;
  client->writer = std::make_unique<StreamWriter>(fd.Get(), services_.shaping, services_.log, "tcp");
  client->session = std::make_unique<ConsoleSession>(
      services_.console, [writer = client->writer.get()](const LinkFrame& reply) { writer->Send(reply.Bytes()); });
  client->fd = std::move(fd);
  services_.hub.Attach(*client->writer);
  client_ = std::move(client);
  services_.console.SetLinkedHost(address);
  {
    std::lock_guard lock(peerMutex_);
    peer_ = address;
  }
  services_.log.Info("TCP: " + FormatIpv4(address) + " connected");
}

bool TcpServer::ReadClient() {
  std::array<std::uint8_t, kReadBytes> bytes{};
  const ssize_t count = ::recv(client_->fd.Get(), bytes.data(), bytes.size(), 0);
  if (count < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  if (count == 0) return false;
  const std::span received(bytes.data(), static_cast<std::size_t>(count));
  services_.log.Traffic("tcp rx", received);
  // A silent console does not even look at what arrives.
  if (!services_.shaping.silence.Active()) client_->session->Receive(received);
  return true;
}

void TcpServer::CloseClient() {
  if (!client_) return;
  services_.hub.Detach(*client_->writer);
  client_->writer.reset();  // joins the writer before its descriptor closes
  services_.log.Info("TCP: " + FormatIpv4(client_->address) + " disconnected");
  client_.reset();
  services_.console.SetLinkedHost(0);
  std::lock_guard lock(peerMutex_);
  peer_.reset();
}

void TcpServer::ServeUnplugRequest() {
  // Draining fails only when there is nothing to drain, which changes nothing here.
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t drained = ::read(unplugWake_.Get(), &count, sizeof count);
  const bool hadClient = client_ != nullptr;
  CloseClient();
  std::lock_guard lock(peerMutex_);
  if (!unplugRequested_) return;
  unplugRequested_ = false;
  unplugResult_ = hadClient;
  unplugDone_.notify_all();
}

}  // namespace rmt4::emulator
