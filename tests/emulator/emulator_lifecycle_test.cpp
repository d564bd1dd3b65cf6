// Starting and stopping the program, as scripts and the demo do.
#include <gtest/gtest.h>
#include <signal.h>

#include "support/console_process.h"
#include "peer_clients.h"

namespace rmt4::emulator::test {

using rmt4::test::ConsoleProcess;
using rmt4::test::FinishedRun;
using rmt4::test::RunToCompletion;
namespace {

TEST(EmulatorLifecycle, QuitStopsItCleanly) {
  ConsoleProcess emulator("127.0.4.1", {"--pty"});
  ASSERT_TRUE(emulator.ready());
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  FramePeer serial = OpenSerial(emulator.serialPath());
  emulator.SendLine("quit");
  EXPECT_EQ(emulator.WaitExit(), 0);
  EXPECT_TRUE(pc.ClosedWithin(1s));
}

TEST(EmulatorLifecycle, SigtermStopsItCleanlyWhileAPcIsConnected) {
  ConsoleProcess emulator("127.0.4.2", {"--delay-ms", "2000"});
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  pc.Send(Command::DumpAll, {0});  // replies held back in the writer's queue
  std::this_thread::sleep_for(100ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(emulator.SignalAndWait(SIGTERM), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(EmulatorLifecycle, EndOfInputLeavesItRunning) {
  ConsoleProcess emulator("127.0.4.3");
  emulator.CloseInput();
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(emulator.WaitExit(100ms).has_value());
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_EQ(pc.Collect(1).size(), 1u);
  EXPECT_EQ(emulator.SignalAndWait(SIGTERM), 0);
}

TEST(EmulatorLifecycle, BadCommandLinesAndBusyPortsFailVisibly) {
  const FinishedRun help = RunToCompletion({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: rmt4-console"), std::string::npos);

  EXPECT_EQ(RunToCompletion({"--address", "10.1.1.1"}).status, 2);
  EXPECT_EQ(RunToCompletion({"--nonsense"}).status, 2);

  ConsoleProcess holder("127.0.4.4");
  ASSERT_TRUE(holder.ready());
  const FinishedRun busy =
      RunToCompletion({"--address", "127.0.4.4", "--tcp-port", std::to_string(holder.tcpPort()), "--udp-port", "0"});
  EXPECT_EQ(busy.status, 1);
  EXPECT_EQ(busy.output.find("ready"), std::string::npos);
}

TEST(EmulatorLifecycle, LongAndUnknownCommandLinesAreAnsweredWithErrors) {
  ConsoleProcess emulator("127.0.4.5");
  EXPECT_EQ(emulator.Ask(std::string(5000, 'x')).value_or("").rfind("error", 0), 0u);
  EXPECT_EQ(emulator.Ask("frobnicate").value_or("").rfind("error", 0), 0u);
  EXPECT_EQ(emulator.Ask("get 0"), "0 20024");
}

}  // namespace
}  // namespace rmt4::emulator::test
