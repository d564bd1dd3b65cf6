// Fault injection: the emulator misbehaves on purpose, as a flaky console would.
#include <gtest/gtest.h>

#include <chrono>

#include "peer_clients.h"
#include "support/console_process.h"

namespace rmt4::emulator::test {

using rmt4::test::ConsoleProcess;
namespace {

using Clock = std::chrono::steady_clock;

TEST(EmulatorFaults, DroppedRepliesNeverArrive) {
  ConsoleProcess emulator("127.0.2.1", {"--drop-prob", "1"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_FALSE(pc.Next(400ms));
  UdpPeer module;
  module.Send(emulator.addressText(), emulator.udpPort(), "Get_IP:");
  EXPECT_FALSE(module.Receive(300ms));
  // Requests still take effect; only the answers are lost.
  Bytes write;
  AppendWord(write, 136);
  AppendWord(write, 42);
  pc.Send(Command::WriteParams, write);
  EXPECT_FALSE(pc.Next(200ms));
  EXPECT_EQ(emulator.Ask("get 136"), "136 42");
}

TEST(EmulatorFaults, CorruptedRepliesFailTheFrameCheck) {
  ConsoleProcess emulator("127.0.2.2", {"--corrupt-prob", "1", "--seed", "5"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  for (int i = 0; i < 20; ++i) pc.Send(Command::ReadParams, ReadRequest({i}));
  EXPECT_FALSE(pc.Next(500ms));
  EXPECT_EQ(pc.bytesReceived, 20u * 9) << "every reply arrives, but none is valid";
}

TEST(EmulatorFaults, DelayedRepliesKeepTheirOrder) {
  ConsoleProcess emulator("127.0.2.3", {"--delay-ms", "300"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  const auto start = Clock::now();
  pc.Send(Command::ReadParams, ReadRequest({26}));
  pc.Send(Command::ReadParams, ReadRequest({27}));
  const auto replies = pc.Collect(2, 3s);
  const auto took = Clock::now() - start;
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(ValuesIn({replies[0]}).begin()->first, 26);
  EXPECT_EQ(ValuesIn({replies[1]}).begin()->first, 27);
  EXPECT_GE(took, 290ms);
  EXPECT_LT(took, 1500ms);

  UdpPeer module;
  const auto udpStart = Clock::now();
  EXPECT_EQ(module.Ask(emulator.addressText(), emulator.udpPort(), "Get_IP:"), "Get_IP:7F000203");
  EXPECT_GE(Clock::now() - udpStart, 290ms);
}

TEST(EmulatorFaults, RepliesInSmallPiecesStillParse) {
  ConsoleProcess emulator("127.0.2.4", {"--pieces", "3"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  Bytes request;
  for (int a = 100; a < 125; ++a) AppendWord(request, static_cast<std::uint16_t>(a));
  pc.Send(Command::ReadParams, request);
  const auto replies = pc.Collect(1, 3s);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(ValuesIn(replies).size(), 25u);
  // Loose, so that a busy machine reading late still passes; in one piece it is one read.
  EXPECT_GE(pc.readsWithData, 5u) << "105 bytes in pieces of at most 3 arrive in many reads";
}

TEST(EmulatorFaults, SilenceIgnoresEverythingUntilItEnds) {
  ConsoleProcess emulator("127.0.2.5", {"--silent"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  UdpPeer module;
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_FALSE(pc.Next(300ms));
  EXPECT_FALSE(module.Ask(emulator.addressText(), emulator.udpPort(), "Get_IP:").has_value());
  EXPECT_EQ(emulator.Ask("set 136 3"), "ok");  // a console-side change is not sent either
  EXPECT_FALSE(pc.Next(200ms));

  EXPECT_EQ(emulator.Ask("talk"), "ok");
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{0, 20024}}));

  // A timed silence ends by itself.
  EXPECT_EQ(emulator.Ask("silence 1000"), "ok");
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_FALSE(pc.Next(150ms));
  bool answered = false;
  for (int attempt = 0; attempt < 50 && !answered; ++attempt) {
    pc.Send(Command::ReadParams, ReadRequest({0}));
    answered = pc.Next(200ms).has_value();
  }
  EXPECT_TRUE(answered);
}

TEST(EmulatorFaults, PartialDropsLoseSomeRepliesNotAll) {
  ConsoleProcess emulator("127.0.2.6", {"--drop-prob", "0.5", "--seed", "17"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  for (int i = 0; i < 60; ++i) pc.Send(Command::ReadParams, ReadRequest({i}));
  const auto replies = pc.Collect(60, 1s);
  EXPECT_GT(replies.size(), 10u);
  EXPECT_LT(replies.size(), 50u);
}

}  // namespace
}  // namespace rmt4::emulator::test
