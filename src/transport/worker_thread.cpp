#include "transport/worker_thread.h"

namespace rmt4 {

void WorkerThread::Start(std::function<void()> body) {
  Join();
  {
    std::lock_guard lock(mutex_);
    finished_ = false;
  }
  thread_ = std::thread([this, body = std::move(body)] {
    body();
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    finishedChanged_.notify_all();
  });
}

bool WorkerThread::JoinFor(std::chrono::milliseconds limit) {
  if (!thread_.joinable()) return true;
  {
    std::unique_lock lock(mutex_);
    if (!finishedChanged_.wait_for(lock, limit, [this] { return finished_; })) return false;
  }
  thread_.join();
  return true;
}

void WorkerThread::Join() {
  if (thread_.joinable()) thread_.join();
}

bool WorkerThread::Running() const {
  std::lock_guard lock(mutex_);
  return !finished_;
}

}  // namespace rmt4
