#include "transport/hid_channel_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace rmt4 {
namespace {

class HidChannelLockTest : public ::testing::Test {
 protected:
  HidChannelLockTest() {
    folder_ = std::filesystem::temp_directory_path() /
              ("rmt4-hid-lock-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~HidChannelLockTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_F(HidChannelLockTest, NameIsFormattedInLowerCaseHex) {
  EXPECT_EQ(HidChannelLockName(0x4084, 0x4357), "HID_VID_4084_PID_4357");
  EXPECT_EQ(HidChannelLockName(0xABCD, 0x00EF), "HID_VID_abcd_PID_ef");
}

TEST_F(HidChannelLockTest, OneHolderAtATimeAndReleasedWithItsHolder) {
  const auto file = folder_ / "HID_VID_4084_PID_4357.lock";
  auto first = std::make_unique<HidChannelLock>(file);
  HidChannelLock second(file);

  EXPECT_EQ(first->TryClaim(), HidChannelLock::Claim::Held);
  EXPECT_EQ(first->TryClaim(), HidChannelLock::Claim::Held) << "claiming again keeps the lock";
  EXPECT_EQ(second.TryClaim(), HidChannelLock::Claim::Blocked);
  EXPECT_FALSE(second.Held());

  first.reset();
  EXPECT_EQ(second.TryClaim(), HidChannelLock::Claim::Held);
  EXPECT_TRUE(second.Held());
}

TEST_F(HidChannelLockTest, AnUnusableFolderIsAFailureWithItsReason) {
  HidChannelLock lock(folder_ / "missing" / "HID_VID_4084_PID_4357.lock");
  EXPECT_EQ(lock.TryClaim(), HidChannelLock::Claim::Failed);
  EXPECT_NE(lock.Problem().find("missing"), std::string::npos);
  EXPECT_NE(lock.Problem().find("No such file"), std::string::npos);
}

TEST_F(HidChannelLockTest, LockFolderFollowsTheRuntimeFolder) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string restore = saved != nullptr ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  EXPECT_EQ(DefaultLockDirectory(), folder_);
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(DefaultLockDirectory(), std::filesystem::path("/tmp"));
  if (saved != nullptr) ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
}

}  // namespace
}  // namespace rmt4
