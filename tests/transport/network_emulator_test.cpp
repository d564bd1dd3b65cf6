#include <gtest/gtest.h>

#include <algorithm>

#include "console_process.h"
#include "network_test_support.h"

namespace rmt4 {
namespace {

using namespace std::chrono_literals;
using test::ConsoleProcess;
using test::Eventually;
using test::LoopbackEndpoints;
using test::NetworkRig;

/// 127.0.0.host; these tests use hosts 130..139 for the PC and 230..239 for consoles.
constexpr Ipv4Address Loopback(int host) { return 0x7F000000u | static_cast<Ipv4Address>(host); }

std::string PeerLine(Ipv4Address pc) { return "peer " + FormatIpv4(pc); }

TEST(NetworkWithEmulator, FindsTheConsoleConnectsAndCloses) {
  ConsoleProcess console(Loopback(230), 0, 0);
  ASSERT_TRUE(console.ready());
  NetworkRig rig(LoopbackEndpoints(Loopback(130), console.udpPort(), console.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(5s));

  EXPECT_EQ(rig.transport.serverAddress(), Loopback(230));
  EXPECT_EQ(rig.context.state.params.Value(0), kSupportedDeviceType);
  EXPECT_EQ(console.Ask("peer"), PeerLine(Loopback(130)));

  // The module is reached over UDP while TCP runs.
  rig.context.modules.SetModuleCommand(ModuleCommandTable::kGetConfig, "Get_Confi:");
  EXPECT_TRUE(Eventually([&] { return rig.context.modules.Done(ModuleCommandTable::kGetConfig); }));

  const auto start = std::chrono::steady_clock::now();
  rig.transport.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
  EXPECT_FALSE(rig.transport.ReaderRunning());
  EXPECT_FALSE(rig.transport.DiscoveryRunning());
  EXPECT_TRUE(Eventually([&] { return console.Ask("peer") == "peer none"; }));
}

TEST(NetworkWithEmulator, TwoConsolesLetTheUserChoose) {
  ConsoleProcess first(Loopback(231), 0, 0);
  ASSERT_TRUE(first.ready());
  ConsoleProcess second(Loopback(232), first.tcpPort(), first.udpPort());
  ASSERT_TRUE(second.ready());
  NetworkRig rig(LoopbackEndpoints(Loopback(131), first.udpPort(), first.tcpPort()));
  std::atomic<Ipv4Address> picked{0};
  rig.ChooseTheOtherConsole(picked);
  ASSERT_TRUE(rig.ConnectWithin(5s));

  ASSERT_EQ(rig.owner.Choices().size(), 1u);
  auto offered = rig.owner.Choices()[0];
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, (std::vector<std::uint32_t>{Loopback(231), Loopback(232)}));
  ConsoleProcess& chosen = picked.load() == Loopback(231) ? first : second;
  ConsoleProcess& other = picked.load() == Loopback(231) ? second : first;
  EXPECT_EQ(chosen.Ask("peer"), PeerLine(Loopback(131)));
  EXPECT_EQ(other.Ask("peer"), "peer none");
}

TEST(NetworkWithEmulator, SilentConsoleIsForgottenAndFoundAgain) {
  ConsoleProcess console(Loopback(233), 0, 0);
  ASSERT_TRUE(console.ready());
  NetworkRig rig(LoopbackEndpoints(Loopback(133), console.udpPort(), console.tcpPort()));
  // The console falls silent just before the first connection attempt.
  bool silenced = false;
  rig.owner.OnStatus([&](LinkStatus) {
    if (silenced) return;
    silenced = true;
    EXPECT_EQ(console.Ask("silence 800"), "ok");
  });
  ASSERT_TRUE(rig.ConnectWithin(8s));

  const auto statuses = rig.owner.Statuses();
  EXPECT_GE(std::count(statuses.begin(), statuses.end(), LinkStatus::Searching), 3);
  EXPECT_EQ(rig.transport.serverAddress(), Loopback(233));
  EXPECT_EQ(console.Ask("peer"), PeerLine(Loopback(133)));
}

TEST(NetworkWithEmulator, ReprobeReconnectsAfterTheConsoleDroppedTheConnection) {
  ConsoleProcess console(Loopback(234), 0, 0);
  ASSERT_TRUE(console.ready());
  NetworkRig rig(LoopbackEndpoints(Loopback(134), console.udpPort(), console.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(5s));
  ASSERT_EQ(console.Ask("unplug"), "ok");
  ASSERT_TRUE(Eventually([&] { return console.Ask("peer") == "peer none"; }));

  const std::int64_t before = rig.context.state.health.lastReplyTick.load();
  const auto start = std::chrono::steady_clock::now();
  rig.context.state.reply.awaitingReply.store(true);  // the sender whose frame met the silence
  EXPECT_TRUE(rig.transport.OnSilence()) << "a new connection";
  EXPECT_TRUE(rig.context.state.reply.awaitingReply.load()) << "the sender's reply must still wake it";
  rig.context.state.reply.awaitingReply.store(false);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);  // answered at the first probe
  EXPECT_GT(rig.context.state.health.lastReplyTick.load(), before);
  EXPECT_EQ(console.Ask("peer"), PeerLine(Loopback(134)));
  EXPECT_TRUE(rig.transport.ReaderRunning());
}

}  // namespace
}  // namespace rmt4
