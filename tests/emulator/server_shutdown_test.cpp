// Each link of the emulator stops when it is destroyed, whether or not the
// shared stop was raised first.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "emulator/pty_link.h"
#include "emulator/socket_util.h"
#include "emulator/tcp_server.h"
#include "emulator/udp_server.h"
#include "peer_clients.h"

namespace rmt4::emulator::test {
namespace {

constexpr Ipv4 kAddress = 0x7F000414;  // 127.0.4.20

/// What every link serves with.
struct LinkServices {
  Logger log{false};
  FaultPlan faults{FaultOptions{}, 1};
  Silence silence;
  StopSignal stop;
  LinkHub hub;
  ConsoleResponder console{ConsoleSettings{}};

  StreamLinkServices Stream() { return {console, hub, StreamShaping{faults, silence, 0}, log, stop}; }
};

/// Runs `destroy` on a helper thread; true when it returned within a second.
/// One that hangs is freed by the shared stop afterwards, so a fault fails
/// the test instead of hanging it.
bool DestroyedPromptly(const std::function<void()>& destroy, StopSignal& stop) {
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  std::thread destroying([&] {
    destroy();
    done.set_value();
  });
  const bool prompt = finished.wait_for(1s) == std::future_status::ready;
  if (!prompt) stop.Raise();
  destroying.join();
  return prompt;
}

TEST(EmulatorLinks, DestroyingARunningLinkStopsIt) {
  {
    LinkServices services;
    BoundSocket bound = BindSocket(SOCK_STREAM, kAddress, 0, "TCP");
    ASSERT_TRUE(bound.error.empty()) << bound.error;
    ASSERT_EQ(::listen(bound.fd.Get(), 1), 0);
    const std::uint16_t port = BoundPort(bound.fd.Get());
    auto server = std::make_unique<TcpServer>(std::move(bound.fd), services.Stream());
    FramePeer pc = ConnectTcp(FormatIpv4(kAddress), port);
    const auto connectedBy = std::chrono::steady_clock::now() + 2s;
    while (!server->Peer() && std::chrono::steady_clock::now() < connectedBy) std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(server->Peer().has_value());
    EXPECT_TRUE(DestroyedPromptly([&] { server.reset(); }, services.stop)) << "TCP server with a PC connected";
    EXPECT_TRUE(pc.ClosedWithin(1s));
  }
  {
    LinkServices services;
    BoundSocket bound = BindSocket(SOCK_DGRAM, kAddress, 0, "UDP");
    ASSERT_TRUE(bound.error.empty()) << bound.error;
    auto server = std::make_unique<UdpServer>(
        std::move(bound.fd),
        UdpServer::Services{services.console, services.faults, services.silence, services.log, services.stop});
    EXPECT_TRUE(DestroyedPromptly([&] { server.reset(); }, services.stop)) << "UDP server";
  }
  {
    LinkServices services;
    std::string error;
    std::unique_ptr<PtyLink> link = PtyLink::Open(services.Stream(), error);
    ASSERT_NE(link, nullptr) << error;
    FramePeer pc = OpenSerial(link->DevicePath());
    ASSERT_TRUE(pc.IsOpen());
    EXPECT_TRUE(DestroyedPromptly([&] { link.reset(); }, services.stop)) << "serial link with the port open";
  }
}

}  // namespace
}  // namespace rmt4::emulator::test
