// Pulling the emulator's serial cable: the pseudo-terminal closes under the PC
// and a fresh one appears behind the stable link path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/console_process.h"
#include "peer_clients.h"

namespace rmt4::emulator::test {

using rmt4::test::ConsoleProcess;
using rmt4::test::FinishedRun;
using rmt4::test::RunToCompletion;
namespace {

namespace fs = std::filesystem;

/// The device the link names, or an empty path when there is no link.
fs::path LinkTarget(const fs::path& link) {
  std::error_code error;
  return fs::read_symlink(link, error);
}

TEST(EmulatorSerialCable, UnplugClosesThePortAndAFreshOneAppearsBehindTheLink) {
  const fs::path link = fs::temp_directory_path() / ("rmt4-cable-test-" + std::to_string(::getpid()));
  {
    ConsoleProcess emulator("127.0.3.5", {"--pty-link", link.string()});
    ASSERT_TRUE(emulator.ready());
    const fs::path first = LinkTarget(link);
    ASSERT_EQ(first, emulator.serialPath());
    FramePeer before = OpenSerial(link);
    ASSERT_TRUE(before.IsOpen());

    EXPECT_EQ(emulator.Ask("unplug"), "ok serial");
    EXPECT_TRUE(before.ClosedWithin(2s)) << "the PC's open port must see the cable go";
    EXPECT_EQ(emulator.Ask("unplug"), "none") << "nothing is left to pull while the cable is out";
    EXPECT_EQ(emulator.Ask("set 1110 650"), "ok") << "the console goes on while unplugged";

    fs::path second;
    for (int tries = 0; tries < 100 && (second.empty() || second == first); ++tries) {
      std::this_thread::sleep_for(20ms);
      second = LinkTarget(link);
    }
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second, first);
    FramePeer after = OpenSerial(link);
    after.Send(Command::ReadParams, ReadRequest({1110}));
    EXPECT_EQ(ValuesIn(after.Collect(1)), (std::map<int, int>{{1110, 650}}));
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link is removed on exit";
}

TEST(EmulatorSerialCable, RefusesToReplaceAFileThatIsNotItsLink) {
  const fs::path taken = fs::temp_directory_path() / ("rmt4-cable-taken-" + std::to_string(::getpid()));
  { std::ofstream(taken) << "someone else's"; }
  const FinishedRun run = RunToCompletion({"--address", "127.0.3.6", "--tcp-port", "0", "--udp-port", "0",
                                           "--pty-link", taken.string()});
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(taken)));
  fs::remove(taken);
}

}  // namespace
}  // namespace rmt4::emulator::test
