// The server on a loopback socket: its thread, batching, drops and the meters.
#include "automation/osc_server.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <thread>

#include "automation/osc_packet.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "support/eventually.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

using namespace std::chrono_literals;
using test::Eventually;

class CountingHost : public OscHost {
 public:
  void EditsWaiting() override { ++told; }
  OscLinkStatus Status() override { return {"connected", "USB", ""}; }
  std::atomic<int> told{0};
};

/// A client on its own loopback socket.
class Client {
 public:
  explicit Client(Ipv4Address address = kLoopbackAddress) : socket_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in local = SocketAddress(address, 0);
    (void)::bind(socket_.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local);
  }
  void Send(const std::vector<std::uint8_t>& packet, std::uint16_t port) const {
    const sockaddr_in to = SocketAddress(kLoopbackAddress, port);
    (void)::sendto(socket_.Get(), packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  /// The next message, or none within `limit`.
  std::optional<OscMessage> Receive(std::chrono::milliseconds limit = 3s) const {
    pollfd readable{socket_.Get(), POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(limit.count())) <= 0) return std::nullopt;
    std::array<std::uint8_t, kMaxOscPacket> buffer{};
    const ssize_t size = ::recv(socket_.Get(), buffer.data(), buffer.size(), 0);
    if (size <= 0) return std::nullopt;
    const auto messages = DecodeOscPacket(std::span(buffer.data(), static_cast<std::size_t>(size)));
    if (!messages || messages->size() != 1) return std::nullopt;
    return messages->front();
  }

 private:
  UniqueFd socket_;
};

TEST(OscServerTest, EditsWaitMergedTheHostIsToldPerBatchAndMetersStream) {
  ParamTable params;
  CountingHost host;
  OscServer server(params, host, {});
  ASSERT_EQ(server.Start(), std::nullopt);
  const ParamAddress fader = *FindParam("ch1.fader");
  Client client;
  std::vector<std::vector<std::uint8_t>> sets;
  for (const char* level : {"-30dB", "-20dB", "-10dB"})
    sets.push_back(EncodeOscMessage({"/ch1/fader", {OscArgument::String(level)}}));
  client.Send(EncodeOscBundle(sets), server.port());
  ASSERT_TRUE(Eventually([&] { return host.told.load() > 0; }));
  EXPECT_EQ(server.TakeEdits(), (std::vector<RequestedEdit>{{fader, *ParseValue(fader, "-10dB").raw, kWholeWord}}));
  EXPECT_EQ(host.told.load(), 1);

  client.Send(EncodeOscMessage({"/meters", {}}), server.port());
  params[address::kLevelMeters].Store(0x00CC);
  EXPECT_TRUE(Eventually([&] {
    const auto message = client.Receive(50ms);
    return message && message->address == "/meters" && message->arguments[0] == OscArgument::Float(0);
  }));
  server.Stop();
  server.Stop();
}

TEST(OscServerTest, ABitNamesFollowerHearsOnlyWhenItsBitChanges) {
  ParamTable params;
  CountingHost host;
  OscServer server(params, host, {});
  ASSERT_EQ(server.Start(), std::nullopt);
  const ParamAddress switches = *FindParam("ch1.mute");
  Client client;
  client.Send(EncodeOscBundle({EncodeOscMessage({"/subscribe", {OscArgument::String("/ch1/48v")}}),
                               EncodeOscMessage({"/status", {}})}),
              server.port());
  ASSERT_TRUE(client.Receive());  // the /status answer: the subscription stands
  std::this_thread::sleep_for(150ms);
  params[switches].Store(0x0008);  // the mute bit alone
  std::this_thread::sleep_for(150ms);
  params[switches].Store(0x0009);
  EXPECT_EQ(client.Receive(), (OscMessage{"/ch1/48v", {OscArgument::Int(1), OscArgument::String("ON")}}));
}

TEST(OscServerTest, OversizedAndDisallowedPacketsAreCountedAndUnanswered) {
  ParamTable params;
  CountingHost host;
  OscServerOptions options;
  options.allow = {"127.0.0.2/32"};
  OscServer server(params, host, options);
  ASSERT_EQ(server.Start(), std::nullopt);
  Client stranger;  // 127.0.0.1
  stranger.Send(EncodeOscMessage({"/status", {}}), server.port());
  Client allowed(0x7F000002);
  allowed.Send(std::vector<std::uint8_t>(kMaxOscPacket + 4, '/'), server.port());
  allowed.Send(EncodeOscMessage({"/status", {}}), server.port());
  ASSERT_TRUE(allowed.Receive());
  EXPECT_FALSE(stranger.Receive(100ms));
  const OscCounters counters = server.counters();
  EXPECT_EQ(counters.packets, 3U);
  EXPECT_EQ(counters.dropped, 2U);

  OscServerOptions wrong;
  wrong.allow = {"192.168.1.0/33"};
  EXPECT_NE(OscServer(params, host, wrong).Start(), std::nullopt);
}

}  // namespace
}  // namespace rmt4
