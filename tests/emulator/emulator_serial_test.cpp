// The emulator's serial link on a pseudo-terminal, opened as the PC opens a port.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "support/console_process.h"
#include "peer_clients.h"

namespace rmt4::emulator::test {

using rmt4::test::ConsoleProcess;
namespace {

TEST(EmulatorSerial, ServesFramesOnThePseudoTerminal) {
  ConsoleProcess emulator("127.0.3.1", {"--pty"});
  ASSERT_TRUE(emulator.ready());
  ASSERT_FALSE(emulator.serialPath().empty());
  FramePeer pc = OpenSerial(emulator.serialPath());
  ASSERT_TRUE(pc.IsOpen());

  pc.Send(Command::DeviceQuery, {0});
  const auto identity = pc.Collect(2);
  ASSERT_EQ(identity.size(), 2u);
  EXPECT_EQ(identity[0].payload, (Bytes{1, 12, 0, 0, 0, 0}));
  EXPECT_EQ(identity[1].payload[0] << 8 | identity[1].payload[1], 20024);

  pc.Send(Command::DumpAll, {0});
  const auto dump = pc.Collect(26);
  EXPECT_EQ(ValuesIn(dump).size(), kParamCount);

  EXPECT_EQ(emulator.Ask("set 1110 700"), "ok");
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{1110, 700}}));
}

TEST(EmulatorSerial, ThePortCanBeClosedAndOpenedAgain) {
  ConsoleProcess emulator("127.0.3.2", {"--pty"});
  {
    FramePeer first = OpenSerial(emulator.serialPath());
    first.Send(Command::ReadParams, ReadRequest({0}));
    ASSERT_EQ(first.Collect(1).size(), 1u);
  }
  FramePeer again = OpenSerial(emulator.serialPath());
  again.Send(Command::ReadParams, ReadRequest({1204}));
  EXPECT_EQ(ValuesIn(again.Collect(1)), (std::map<int, int>{{1204, 1}}));
}

TEST(EmulatorSerial, GarbageOnTheLineDoesNotStopIt) {
  ConsoleProcess emulator("127.0.3.3", {"--pty"});
  FramePeer pc = OpenSerial(emulator.serialPath());
  std::mt19937 random(4);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes garbage(64 * 1024);
  for (auto& b : garbage) b = static_cast<std::uint8_t>(byte(random));
  pc.SendRaw(garbage);
  pc.SendRaw(Bytes(300, 0x00));
  while (pc.Next(300ms)) {
  }
  pc.Send(Command::ReadParams, ReadRequest({970}));
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{970, 933}}));
}

TEST(EmulatorSerial, PacingHoldsTheByteRateOfTheWire) {
  // 1000 bytes per second: a 105-byte reply takes over 100 ms, a byte at a time.
  ConsoleProcess emulator("127.0.3.4", {"--pty", "--pace-bps", "1000"});
  FramePeer pc = OpenSerial(emulator.serialPath());
  Bytes request;
  for (int a = 0; a < 25; ++a) AppendWord(request, static_cast<std::uint16_t>(a));
  const auto start = std::chrono::steady_clock::now();
  pc.Send(Command::ReadParams, request);
  ASSERT_EQ(pc.Collect(1).size(), 1u);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 100ms);
  EXPECT_LT(took, 1000ms);
  // Loose, so that a busy machine reading late still passes; unpaced it is one read.
  EXPECT_GE(pc.readsWithData, 5u) << "bytes trickle in rather than arriving at once";
}

}  // namespace
}  // namespace rmt4::emulator::test
