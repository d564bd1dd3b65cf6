#include "loopback_fake_module.h"

#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "protocol/link_frame.h"

namespace rmt4::test {
namespace {

constexpr int kPollMs = 20;

UniqueFd Bound(int type, Ipv4Address address, std::uint16_t port) {
  UniqueFd handle(socket(AF_INET, type | SOCK_CLOEXEC, 0));
  const int on = 1;
  setsockopt(handle.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in local = SocketAddress(address, port);
  if (bind(handle.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    throw std::runtime_error("fake module cannot bind " + FormatIpv4(address) + ":" + std::to_string(port));
  }
  return handle;
}

bool Readable(int descriptor) {
  pollfd waiting{descriptor, POLLIN, 0};
  return poll(&waiting, 1, kPollMs) > 0;
}

std::string Hex(Ipv4Address value) {
  std::array<char, 9> text{};
  std::snprintf(text.data(), text.size(), "%08X", value);
  return text.data();
}

}  // namespace

std::uint16_t FreeUdpPort(Ipv4Address address) {
  const UniqueFd probe = Bound(SOCK_DGRAM, address, 0);
  return BoundPort(probe.Get());
}

LoopbackFakeModule::LoopbackFakeModule(Ipv4Address address, std::uint16_t udpPort, std::uint16_t tcpPort)
    : address_(address) {
  udp_ = Bound(SOCK_DGRAM, address, udpPort);
  udpPort_ = BoundPort(udp_.Get());
  listener_ = Bound(SOCK_STREAM, address, tcpPort);
  tcpPort_ = BoundPort(listener_.Get());
  listen(listener_.Get(), 4);
  udpThread_ = std::thread([this] { ServeUdp(); });
  tcpThread_ = std::thread([this] { ServeTcp(); });
}

LoopbackFakeModule::~LoopbackFakeModule() {
  stop_.store(true);
  udpThread_.join();
  tcpThread_.join();
}

std::vector<std::string> LoopbackFakeModule::UdpTexts() const {
  std::lock_guard lock(mutex_);
  return udpTexts_;
}

std::vector<std::uint8_t> LoopbackFakeModule::LatestConnectionBytes() const {
  std::lock_guard lock(mutex_);
  return latestBytes_;
}

void LoopbackFakeModule::ServeUdp() {
  std::array<char, 2048> buffer{};
  while (!stop_.load()) {
    if (!Readable(udp_.Get())) continue;
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    const ssize_t received =
        recvfrom(udp_.Get(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender), &length);
    if (received <= 0) continue;
    std::string text(buffer.data(), static_cast<std::size_t>(received));
    text = text.substr(0, text.find('\0'));
    {
      std::lock_guard lock(mutex_);
      udpTexts_.push_back(text);
    }
    std::string answer;
    if (text == "Get_IP:") {
      getIpRequests_.fetch_add(1);
      answer = "Get_IP:" + Hex(address_);
    } else if (text == "Get_LinkIP:") {
      const Ipv4Address reported = reportedLinkedHost_.load();
      answer = "Get_LinkIP:" + Hex(reported != 0 ? reported : tcpPeer_.load());
    } else if (text.starts_with("Get_Confi:")) {
      answer = "Get_Confi:192.168.1.5 255.255.255.0 192.168.1.1 AA-BB-CC-DD-EE-FF";
    } else if (const auto colon = text.find(':'); colon != std::string::npos) {
      answer = text.substr(0, colon + 1);  // Set commands answer with their name
    }
    if (!answer.empty()) {
      sendto(udp_.Get(), answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&sender), length);
    }
  }
}

void LoopbackFakeModule::ServeTcp() {
  std::vector<std::thread> connections;
  while (!stop_.load()) {
    if (!Readable(listener_.Get())) continue;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    UniqueFd connection(accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC));
    if (!connection.Valid()) continue;
    tcpPeer_.store(AddressOf(peer));
    const int number = connections_.fetch_add(1) + 1;
    {
      std::lock_guard lock(mutex_);
      latestBytes_.clear();
    }
    connections.emplace_back([this, number, handle = std::move(connection)]() mutable {
      ServeConnection(std::move(handle), number);
    });
  }
  for (std::thread& connection : connections) connection.join();
}

void LoopbackFakeModule::ServeConnection(UniqueFd connection, int number) {
  std::array<std::uint8_t, 1500> buffer{};
  std::vector<std::uint8_t> pending;
  while (!stop_.load()) {
    if (!Readable(connection.Get())) continue;
    const ssize_t received = recv(connection.Get(), buffer.data(), buffer.size(), 0);
    if (received <= 0) break;
    {
      std::lock_guard lock(mutex_);
      if (number == connections_.load()) latestBytes_.insert(latestBytes_.end(), buffer.begin(), buffer.begin() + received);
    }
    pending.insert(pending.end(), buffer.begin(), buffer.begin() + received);
    // Answer every complete read of address 0 with the console's device type.
    while (const auto frame = CheckFrame(pending)) {
      const std::size_t frameBytes = LinkFrame::kHeaderBytes + frame->payload.size() + LinkFrame::kCrcBytes;
      const bool readsAddressZero = frame->command == static_cast<std::uint8_t>(Command::ReadParams) &&
                                    frame->payload.size() == 2 && frame->payload[0] == 0 && frame->payload[1] == 0;
      pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(frameBytes));
      if (!readsAddressZero || number <= ignoredConnections_.load()) continue;
      const std::array<std::uint8_t, 4> entry{0x00, 0x00, 0x4E, 0x38};  // address 0 = 20024
      const auto reply = LinkFrame::Build(Command::ReadParams, entry);
      send(connection.Get(), reply->Bytes().data(), reply->Bytes().size(), MSG_NOSIGNAL);
    }
  }
}

}  // namespace rmt4::test
