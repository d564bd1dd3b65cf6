#include "platform/named_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace rmt4 {
namespace {

class NamedLockTest : public ::testing::Test {
 protected:
  NamedLockTest() {
    folder_ = std::filesystem::temp_directory_path() /
              ("rmt4-named-lock-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~NamedLockTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_F(NamedLockTest, OneHolderAtATimeAndReleasedWithItsHolder) {
  const auto file = folder_ / "RMT-4.lock";
  auto first = std::make_unique<NamedLock>(file);
  NamedLock second(file);

  EXPECT_EQ(first->TryClaim(), NamedLock::Claim::Held);
  EXPECT_EQ(first->TryClaim(), NamedLock::Claim::Held) << "claiming again keeps the lock";
  EXPECT_EQ(second.TryClaim(), NamedLock::Claim::Blocked);
  EXPECT_FALSE(second.Held());

  first.reset();
  EXPECT_EQ(second.TryClaim(), NamedLock::Claim::Held);
  EXPECT_TRUE(second.Held());
}

TEST_F(NamedLockTest, AnUnusableFolderIsAFailureWithItsReason) {
  NamedLock lock(folder_ / "missing" / "RMT-4.lock");
  EXPECT_EQ(lock.TryClaim(), NamedLock::Claim::Failed);
  EXPECT_NE(lock.Problem().find("missing"), std::string::npos);
  EXPECT_NE(lock.Problem().find("No such file"), std::string::npos);
}

TEST_F(NamedLockTest, LockFolderFollowsTheRuntimeFolder) {
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
