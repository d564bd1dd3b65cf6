#include "transport/hid_write_thread.h"

namespace rmt4 {

HidWriteThread::~HidWriteThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

HidIoStatus HidWriteThread::Write(const HidReport& report, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  if (pending_ || writing_) return HidIoStatus::Failed;  // an earlier write is still stuck
  if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
  pending_ = report;
  changed_.notify_all();
  if (!changed_.wait_for(lock, limit, [this] { return !pending_ && !writing_; })) return HidIoStatus::TimedOut;
  return lastWriteOk_ ? HidIoStatus::Done : HidIoStatus::Failed;
}

void HidWriteThread::Loop() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || pending_; });
    if (!pending_) return;
    const HidReport report = *pending_;
    pending_.reset();
    writing_ = true;
    lock.unlock();
    const bool written = write_(report);
    lock.lock();
    writing_ = false;
    lastWriteOk_ = written;
    changed_.notify_all();
  }
}

}  // namespace rmt4
