#include "peer_clients.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>

#include <cerrno>

#include "protocol/link_frame.h"

namespace rmt4::emulator::test {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Endpoint(const std::string& address, int port) {
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, address.c_str(), &endpoint.sin_addr);
  return endpoint;
}

std::chrono::milliseconds Left(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? left : 0ms;
}

}  // namespace

void FramePeer::Send(Command command, const Bytes& payload) {
  const auto frame = LinkFrame::Build(command, payload);
  if (frame) SendRaw(frame->Bytes());
}

void FramePeer::SendRaw(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_.Get(), bytes.data(), bytes.size());
    if (written <= 0) {
      pollfd writable{fd_.Get(), POLLOUT, 0};
      if (::poll(&writable, 1, 1000) <= 0) return;
      continue;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
}

bool FramePeer::ReadSome(std::chrono::milliseconds timeout) {
  if (closed_) return false;
  pollfd readable{fd_.Get(), POLLIN, 0};
  if (::poll(&readable, 1, static_cast<int>(timeout.count())) <= 0) return false;
  std::uint8_t bytes[2048];
  const ssize_t count = ::read(fd_.Get(), bytes, sizeof bytes);
  if (count <= 0) {
    closed_ = count == 0 || (errno != EAGAIN && errno != EINTR);
    return false;
  }
  bytesReceived += static_cast<std::size_t>(count);
  ++readsWithData;
  buffer_.Feed(std::span(bytes, static_cast<std::size_t>(count)), [this](const FrameView& frame) {
    frames_.push_back({frame.command, Bytes(frame.payload.begin(), frame.payload.end())});
  });
  return true;
}

std::optional<ReceivedFrame> FramePeer::Next(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (frames_.empty()) {
    if (!ReadSome(Left(deadline)) && (closed_ || Clock::now() >= deadline)) return std::nullopt;
  }
  ReceivedFrame frame = std::move(frames_.front());
  frames_.pop_front();
  return frame;
}

std::vector<ReceivedFrame> FramePeer::Collect(std::size_t count, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::vector<ReceivedFrame> frames;
  while (frames.size() < count) {
    auto frame = Next(Left(deadline));
    if (!frame) break;
    frames.push_back(std::move(*frame));
  }
  return frames;
}

bool FramePeer::ClosedWithin(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!closed_ && Clock::now() < deadline) ReadSome(Left(deadline));
  return closed_;
}

FramePeer ConnectTcp(const std::string& address, int port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_in endpoint = Endpoint(address, port);
  if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) != 0) fd.Reset();
  return FramePeer(std::move(fd));
}

FramePeer OpenSerial(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios settings{};
  if (fd.Valid() && ::tcgetattr(fd.Get(), &settings) == 0) {
    ::cfmakeraw(&settings);
    ::tcsetattr(fd.Get(), TCSANOW, &settings);
  }
  return FramePeer(std::move(fd));
}

UdpPeer::UdpPeer() : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  const sockaddr_in local = Endpoint("127.0.0.1", 0);
  ::bind(fd_.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local);
}

UdpPeer::UdpPeer(int wildcardPort) : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  const int on = 1;
  ::setsockopt(fd_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in local = Endpoint("0.0.0.0", wildcardPort);
  if (::bind(fd_.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) fd_.Reset();
}

void UdpPeer::Send(const std::string& address, int port, std::span<const std::uint8_t> datagram) {
  const sockaddr_in to = Endpoint(address, port);
  ::sendto(fd_.Get(), datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void UdpPeer::Send(const std::string& address, int port, const std::string& text) {
  Send(address, port, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<std::string> UdpPeer::Receive(std::chrono::milliseconds timeout) {
  if (!fd_.Valid()) return std::nullopt;
  pollfd readable{fd_.Get(), POLLIN, 0};
  if (::poll(&readable, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
  char datagram[1600];
  const ssize_t count = ::recv(fd_.Get(), datagram, sizeof datagram, 0);
  if (count < 0) return std::nullopt;
  return std::string(datagram, static_cast<std::size_t>(count));
}

std::optional<std::string> UdpPeer::Ask(const std::string& address, int port, const std::string& text) {
  Send(address, port, text);
  return Receive();
}

std::map<int, int> ValuesIn(const std::vector<ReceivedFrame>& frames) {
  std::map<int, int> values;
  for (const ReceivedFrame& frame : frames) {
    if (frame.command != static_cast<std::uint8_t>(Command::ReadParams)) continue;
    ForEachParamEntry(frame.payload, [&](ParamEntryData entry) { values[entry.address] = entry.value; });
  }
  return values;
}

Bytes ReadRequest(std::initializer_list<int> addresses) {
  Bytes payload;
  for (const int address : addresses) AppendWord(payload, static_cast<std::uint16_t>(address));
  return payload;
}

}  // namespace rmt4::emulator::test
