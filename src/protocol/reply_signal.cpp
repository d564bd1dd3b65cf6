#include "protocol/reply_signal.h"

namespace rmt4 {

void ReplySemaphore::Release() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  available_.notify_one();
}

bool ReplySemaphore::TryAcquireFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!available_.wait_for(lock, timeout, [this] { return set_; })) return false;
  set_ = false;
  return true;
}

}  // namespace rmt4
