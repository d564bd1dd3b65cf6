#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace rmt4 {

/// A thread that can be waited for with a time limit. A thread that does not
/// end in time is left running and joined later, at the latest by the
/// destructor, so it never outlives what it uses. Start, JoinFor and Join are
/// called from one controlling thread at a time.
class WorkerThread {
 public:
  WorkerThread() = default;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  ~WorkerThread() { Join(); }

  /// Runs `body` on a new thread; an earlier thread is joined first. False
  /// when the system could not create the thread (nothing runs then).
  [[nodiscard]] bool Start(std::function<void()> body);
  /// Waits up to `limit` for the thread to end; true when none is left.
  bool JoinFor(std::chrono::milliseconds limit);
  /// Waits for the thread to end, however long it takes.
  void Join();
  /// A thread was started and has not finished its body yet.
  [[nodiscard]] bool Running() const;

 private:
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  bool finished_ = true;
};

}  // namespace rmt4
