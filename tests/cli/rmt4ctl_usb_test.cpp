// rmt4ctl over USB on a machine where no console is plugged in.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TEST(Rmt4ctlUsb, StatusWithoutAConsoleSaysSoAfterTheTimeout) {
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("rmt4ctl-usb-" + std::to_string(::getpid()));
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  const std::filesystem::path errors = home / "stderr";
  // The channel lock goes to the private runtime folder: another program on
  // this machine cannot block the test, nor the test it.
  const std::string command = "env -i HOME=" + home.string() + " XDG_RUNTIME_DIR=" + home.string() + " LANG=C " +
                              RMT4CTL_PATH + " --usb --timeout 1.5 status >/dev/null 2>" + errors.string();

  const auto started = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto took = std::chrono::steady_clock::now() - started;
  std::ifstream in(errors);
  const std::string err((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(home);

  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << err;
  EXPECT_NE(err.find("no console answered over USB within 1.5 s"), std::string::npos) << err;
  EXPECT_GE(took, std::chrono::milliseconds(1500));
  EXPECT_LT(took, std::chrono::seconds(6)) << "closing the USB search took too long";
}

}  // namespace
