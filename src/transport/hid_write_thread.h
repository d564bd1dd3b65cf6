#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "transport/hid_backend.h"

namespace rmt4 {

/// Gives a blocking report write a time limit: the write runs on a thread
/// of its own while the caller waits at most its limit. A write that ran
/// over keeps its handle busy: further writes fail at once until it ends,
/// and the destructor waits for it.
class HidWriteThread {
 public:
  /// Writes one report, blocking; true when the device took all of it.
  using BlockingWrite = std::function<bool(const HidReport&)>;

  explicit HidWriteThread(BlockingWrite write) : write_(std::move(write)) {}
  HidWriteThread(const HidWriteThread&) = delete;
  HidWriteThread& operator=(const HidWriteThread&) = delete;
  ~HidWriteThread();

  [[nodiscard]] HidIoStatus Write(const HidReport& report, std::chrono::milliseconds limit);

 private:
  void Loop();

  const BlockingWrite write_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<HidReport> pending_;
  bool writing_ = false;
  bool lastWriteOk_ = false;
  bool stopping_ = false;
  std::thread thread_;  // started with the first write
};

}  // namespace rmt4
