#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/clock.h"

namespace rmt4 {

/// A binary semaphore whose release is idempotent: releasing it when it is
/// already available leaves it available (std::binary_semaphore would be
/// undefined there, and a reply can arrive twice).
class ReplySemaphore {
 public:
  explicit ReplySemaphore(Clock& clock = SteadyClock()) : clock_(clock) {}

  void Release();
  /// Takes the semaphore if it becomes available within `timeout` (on the
  /// link's clock); false at once while interrupted.
  [[nodiscard]] bool TryAcquireFor(std::chrono::milliseconds timeout);
  /// The link is stopping: every wait, present or future, returns at once
  /// until Rearm. A single release could be drained by the next exchange.
  void Interrupt();
  void Rearm();

 private:
  Clock& clock_;
  std::mutex mutex_;
  std::condition_variable available_;
  bool set_ = false;
  bool interrupted_ = false;
};

/// The hand-over from the reader thread to a sender waiting for an answer.
/// A sender sets `awaitingReply` before it sends and clears it after the
/// wait; the reader wakes it only while it is set, so a late reply does not
/// cut short the next exchange's wait.
struct ReplySignal {
  explicit ReplySignal(Clock& clock = SteadyClock()) : semaphore(clock) {}

  ReplySemaphore semaphore;
  std::atomic<bool> awaitingReply{false};

  void ReleaseIfAwaiting() {
    if (awaitingReply.load(std::memory_order_acquire)) semaphore.Release();
  }
};

}  // namespace rmt4
