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
  if (!clock_.WaitFor(lock, available_, timeout, [this] { return set_ || interrupted_; }) || interrupted_) return false;
  set_ = false;
  return true;
}

void ReplySemaphore::Interrupt() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  available_.notify_all();
}

void ReplySemaphore::Rearm() {
  std::lock_guard lock(mutex_);
  interrupted_ = false;
  set_ = false;
}

}  // namespace rmt4
