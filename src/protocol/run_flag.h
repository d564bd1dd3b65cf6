#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/clock.h"

namespace rmt4 {

/// Whether the link layer keeps running, and the one way its threads pause:
/// every pause ends at once when the flag goes down, so stopping never waits
/// for a sleep to run out. Reads and sets like an atomic<bool>.
class RunFlag {
 public:
  explicit RunFlag(Clock& clock) : clock_(clock) {}
  RunFlag(const RunFlag&) = delete;
  RunFlag& operator=(const RunFlag&) = delete;

  [[nodiscard]] bool load() const { return running_.load(); }
  [[nodiscard]] Clock& clock() const { return clock_; }
  /// Lowering it wakes every pause.
  void store(bool running);

  /// Pauses for `duration` on the link's clock; false, at once, when the flag
  /// is or goes down.
  bool SleepFor(std::chrono::milliseconds duration);
  /// As SleepFor, but returns early as soon as `done()` holds. Whoever makes
  /// it hold wakes nobody, so it is looked at again every `lookAgain`.
  bool SleepUntil(std::chrono::milliseconds duration, const std::function<bool()>& done,
                  std::chrono::milliseconds lookAgain = std::chrono::milliseconds(1));

 private:
  Clock& clock_;
  std::atomic<bool> running_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace rmt4
