#include "emulator/udp_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <string_view>

#include "emulator/socket_util.h"

namespace rmt4::emulator {
namespace {

// The largest datagram the PC side reads; longer ones are cut, never overrun.
constexpr std::size_t kDatagramBytes = 1500;

}  // namespace

UdpServer::UdpServer(UniqueFd bound, Services services) : socket_(std::move(bound)), services_(services) {
  thread_ = std::thread([this] { Run(); });
}

UdpServer::~UdpServer() {
  destroying_.Raise();
  thread_.join();
}

void UdpServer::Run() {
  while (true) {
    std::array<pollfd, 3> watched{
        {{services_.stop.Fd(), POLLIN, 0}, {destroying_.Fd(), POLLIN, 0}, {socket_.Get(), POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), -1) < 0) {
      if (errno == EINTR) continue;
      services_.log.Error(ErrnoText("UDP poll failed"));
      return;
    }
    if (watched[0].revents != 0 || watched[1].revents != 0) return;
    if (watched[2].revents != 0) ServeDatagram();
  }
}

bool UdpServer::WaitUnlessStopped(int milliseconds) const {
  std::array<pollfd, 2> stops{{{services_.stop.Fd(), POLLIN, 0}, {destroying_.Fd(), POLLIN, 0}}};
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) return true;
    const int ready = ::poll(stops.data(), stops.size(), static_cast<int>(left));
    if (ready > 0) return false;
    if (ready < 0 && errno != EINTR) {
      services_.log.Error(ErrnoText("UDP delay poll failed"));
      return false;
    }
  }
}

void UdpServer::ServeDatagram() {
  std::array<std::uint8_t, kDatagramBytes> bytes{};
  sockaddr_in sender{};
  socklen_t senderLength = sizeof sender;
  const ssize_t count =
      ::recvfrom(socket_.Get(), bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&sender), &senderLength);
  if (count < 0) {
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) services_.log.Error(ErrnoText("UDP receive failed"));
    return;
  }
  const std::span received(bytes.data(), static_cast<std::size_t>(count));
  services_.log.Traffic("udp rx", received);
  if (services_.silence.Active()) return;

  const auto answer =
      services_.console.ModuleCommand(std::string_view(reinterpret_cast<const char*>(bytes.data()), received.size()));
  if (!answer) return;
  const Delivery delivery =
      services_.faults.Decide(std::span(reinterpret_cast<const std::uint8_t*>(answer->data()), answer->size()));
  if (delivery.drop) {
    services_.log.Info("udp drop " + *answer);
    return;
  }
  if (delivery.delay.count() > 0) {
    // A slow module answers everything late; waking early on stop keeps shutdown quick.
    if (!WaitUnlessStopped(static_cast<int>(delivery.delay.count()))) return;
  }
  services_.log.Traffic("udp tx", delivery.bytes);
  if (::sendto(socket_.Get(), delivery.bytes.data(), delivery.bytes.size(), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&sender), senderLength) < 0) {
    services_.log.Error(ErrnoText("UDP send failed"));
  }
}

}  // namespace rmt4::emulator
