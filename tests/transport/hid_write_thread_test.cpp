#include "transport/hid_write_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace rmt4 {
namespace {

using namespace std::chrono_literals;

/// A device whose writes can be held until the test lets them through.
class HeldDevice {
 public:
  bool Write(const HidReport& report) {
    std::unique_lock lock(mutex_);
    lastReport_ = report;
    ++writes_;
    released_.wait(lock, [this] { return !held_; });
    return accept_;
  }
  void Hold(bool held) {
    {
      std::lock_guard lock(mutex_);
      held_ = held;
    }
    released_.notify_all();
  }
  void Accept(bool accept) {
    std::lock_guard lock(mutex_);
    accept_ = accept;
  }
  int Writes() {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  HidReport LastReport() {
    std::lock_guard lock(mutex_);
    return lastReport_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
  bool accept_ = true;
  int writes_ = 0;
  HidReport lastReport_{};
};

TEST(HidWriteThread, ReportsWhatTheDeviceDidWithTheReport) {
  HeldDevice device;
  HidWriteThread writer([&](const HidReport& report) { return device.Write(report); });
  HidReport report{};
  report[1] = 0xAE;
  report[64] = 0x55;

  EXPECT_EQ(writer.Write(report, 100ms), HidIoStatus::Done);
  EXPECT_EQ(device.LastReport(), report);
  device.Accept(false);
  EXPECT_EQ(writer.Write(report, 100ms), HidIoStatus::Failed);
}

TEST(HidWriteThread, AStuckWriteTimesOutAndKeepsTheHandleBusyUntilItEnds) {
  HeldDevice device;
  HidWriteThread writer([&](const HidReport& report) { return device.Write(report); });
  device.Hold(true);

  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(writer.Write(HidReport{}, 100ms), HidIoStatus::TimedOut);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, 100ms);
  EXPECT_LT(took, 1s);

  EXPECT_EQ(writer.Write(HidReport{}, 100ms), HidIoStatus::Failed) << "no second write into a stuck handle";
  EXPECT_EQ(device.Writes(), 1);

  device.Hold(false);
  // The stuck write ends in the background; then the handle writes again.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  HidIoStatus status = HidIoStatus::Failed;
  while (status != HidIoStatus::Done && std::chrono::steady_clock::now() < deadline) {
    status = writer.Write(HidReport{}, 100ms);
  }
  EXPECT_EQ(status, HidIoStatus::Done);
}

TEST(HidWriteThread, DestructionWaitsForAWriteInProgress) {
  HeldDevice device;
  std::atomic<bool> writeEnded{false};
  std::thread releaser;
  {
    HidWriteThread writer([&](const HidReport& report) {
      const bool ok = device.Write(report);
      writeEnded.store(true);
      return ok;
    });
    device.Hold(true);
    EXPECT_EQ(writer.Write(HidReport{}, 20ms), HidIoStatus::TimedOut);
    releaser = std::thread([&] {
      std::this_thread::sleep_for(50ms);
      device.Hold(false);
    });
  }
  EXPECT_TRUE(writeEnded.load()) << "the handle could be closed under a running write";
  releaser.join();
}

}  // namespace
}  // namespace rmt4
