#include "protocol/run_flag.h"

#include <algorithm>

namespace rmt4 {

void RunFlag::store(bool running) {
  {
    // Under the lock, so a pause cannot miss the change between its check and its wait.
    std::lock_guard lock(mutex_);
    running_.store(running);
  }
  if (!running) wake_.notify_all();
}

bool RunFlag::SleepFor(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  if (duration.count() > 0) clock_.WaitFor(lock, wake_, duration, [this] { return !running_.load(); });
  return running_.load();
}

bool RunFlag::SleepUntil(std::chrono::milliseconds duration, const std::function<bool()>& done,
                         std::chrono::milliseconds lookAgain) {
  const std::int64_t deadline = clock_.NowMs() + duration.count();
  std::unique_lock lock(mutex_);
  while (running_.load() && !done()) {
    const std::int64_t left = deadline - clock_.NowMs();
    if (left <= 0) break;
    clock_.WaitFor(lock, wake_, std::min(lookAgain, std::chrono::milliseconds(left)),
                   [this] { return !running_.load(); });
  }
  return running_.load();
}

}  // namespace rmt4
