#include "transport/worker_thread.h"

#include <system_error>

namespace rmt4 {

bool WorkerThread::Start(std::function<void()> body) {
  Join();
  {
    std::lock_guard lock(mutex_);
    finished_ = false;
  }
  try {
    thread_ = std::thread([this, body = std::move(body)] {
      body();
      {
        std::lock_guard lock(mutex_);
        finished_ = true;
      }
      finishedChanged_.notify_all();
    });
  } catch (const std::system_error&) {
    // Out of threads or memory: the caller treats it as a failed open.
    std::lock_guard lock(mutex_);
    finished_ = true;
    return false;
  }
  return true;
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
