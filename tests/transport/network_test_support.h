#pragma once

#include <chrono>
#include <memory>
#include <thread>

#include "protocol/frame_sender.h"
#include "protocol/link_context.h"
#include "protocol/link_frame.h"
#include "protocol/recording_link_owner.h"
#include "support/eventually.h"
#include "transport/network_transport.h"

namespace rmt4::test {

using namespace std::chrono_literals;

/// Frames and hands them to the transport, as the link's SendFrame does.
class TransportSender : public FrameSender {
 public:
  void SendFrame(Command command, std::span<const std::uint8_t> payload) override {
    if (transport == nullptr) return;
    if (const auto frame = LinkFrame::Build(command, payload)) transport->Send(frame->Bytes());
  }
  LinkTransport* transport = nullptr;
};

/// Loopback endpoints for one test: its own local address and ports.
inline NetworkEndpoints LoopbackEndpoints(Ipv4Address local, std::uint16_t udpPort, std::uint16_t tcpPort) {
  NetworkEndpoints endpoints;
  endpoints.localAddress = local;
  endpoints.broadcastAddress = 0x7FFFFFFF;  // 127.255.255.255: stays on loopback
  endpoints.udpPort = udpPort;
  endpoints.tcpPort = tcpPort;
  return endpoints;
}

/// Short waits, so that failures and retries show within a test's seconds.
inline NetworkTiming QuickTiming() {
  NetworkTiming timing;
  timing.probeWait = 400ms;
  timing.reprobeWait = 150ms;
  timing.connectTimeout = 300ms;
  timing.localAddressSearch = 100ms;
  return timing;
}

/// One network link under test: owner, shared context, sender and transport.
struct NetworkRig {
  explicit NetworkRig(const NetworkEndpoints& endpoints, NetworkTiming timing = QuickTiming())
      : transport(context, sender, endpoints, timing) {
    sender.transport = &transport;
    context.connectionKind = kNetwork;
    context.appRunning.store(true);
  }
  ~NetworkRig() {
    context.appRunning.store(false);
    transport.Close();
  }

  /// Makes the chooser pick a console the search did not settle on, so that
  /// only a choice that is really used connects to it; `picked` records it.
  void ChooseTheOtherConsole(std::atomic<Ipv4Address>& picked) {
    owner.ChooseWith([this, &picked](const std::vector<std::uint32_t>& consoles) -> std::optional<std::uint32_t> {
      for (const std::uint32_t console : consoles) {
        if (console != transport.serverAddress()) picked.store(console);
      }
      return picked.load();
    });
  }

  /// Connects, giving up (by ending the run) after `limit` so a fault cannot hang the suite.
  bool ConnectWithin(std::chrono::milliseconds limit) {
    std::atomic<bool> finished{false};
    std::thread watchdog([&] {
      const auto end = std::chrono::steady_clock::now() + limit;
      while (!finished.load() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
      if (!finished.load()) context.appRunning.store(false);
    });
    transport.Connect();
    finished.store(true);
    watchdog.join();
    return context.linkUp.load() && context.appRunning.load();
  }

  RecordingLinkOwner owner;
  LinkContext context{owner};
  TransportSender sender;
  NetworkTransport transport;
};

}  // namespace rmt4::test
