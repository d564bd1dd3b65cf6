// rmt4ctl over a serial port: the emulator's pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "console_process.h"

namespace rmt4::test {
namespace {

struct SerialRun {
  int exitCode = -1;
  std::string out;
};

/// Runs rmt4ctl in a clean environment (English, no stored settings) with
/// `environment` added, e.g. "RMT4_SERIAL_PORTS=...". Paths here need no quoting.
SerialRun Ctl(const std::string& environment, const std::string& arguments) {
  const std::string home = std::filesystem::temp_directory_path() / ("rmt4ctl-serial-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  const std::string command =
      "cd " + home + " && env -i HOME=" + home + " LANG=C " + environment + " " + RMT4CTL_PATH + " " + arguments;
  SerialRun run;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t count = 0; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, count);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::filesystem::remove_all(home);
  return run;
}

bool ReadEverything(const SerialRun& run) {
  return run.out.find("device type: 20024") != std::string::npos &&
         run.out.find("values read: 1574 of 1574") != std::string::npos;
}

TEST(SerialRmt4ctl, StatusOverTheNamedPort) {
  ConsoleProcess console(0x7F000000 | 244, 0, 0, {"--pty"});
  ASSERT_TRUE(console.ready());
  ASSERT_EQ(console.Ask("set 136 555"), "ok");
  // The named device is the only one tried, whatever the environment lists.
  const SerialRun status =
      Ctl("RMT4_SERIAL_PORTS=/nonexistent/ttyS0", "--serial " + console.serialPath() + " --timeout 15 status");
  EXPECT_EQ(status.exitCode, 0) << status.out;
  EXPECT_TRUE(ReadEverything(status)) << status.out;

  const SerialRun get = Ctl("", "--serial " + console.serialPath() + " --timeout 15 get 136");
  EXPECT_EQ(get.exitCode, 0);
  EXPECT_EQ(get.out, "136 555\n");
}

TEST(SerialRmt4ctl, SearchesThePortsTheEnvironmentLists) {
  ConsoleProcess console(0x7F000000 | 245, 0, 0, {"--pty"});
  ASSERT_TRUE(console.ready());
  const SerialRun status =
      Ctl("RMT4_SERIAL_PORTS=/nonexistent/ttyUSB0:" + console.serialPath(), "--serial --timeout 15 status");
  EXPECT_EQ(status.exitCode, 0) << status.out;
  EXPECT_TRUE(ReadEverything(status)) << status.out;
}

TEST(SerialRmt4ctl, NoConsoleOnThePortFailsWithinTheTimeout) {
  const SerialRun status = Ctl("", "--serial /nonexistent/ttyUSB0 --timeout 1.5 status");
  EXPECT_NE(status.exitCode, 0);
  EXPECT_FALSE(ReadEverything(status));
}

}  // namespace
}  // namespace rmt4::test
