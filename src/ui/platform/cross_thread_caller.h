#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace rmt4::ui {

/// Runs work on a window's thread and blocks the calling thread until it has
/// run: the "send" of a message from a link thread. Once Cancel() is called
/// (the program is closing and about to join those threads) every waiting
/// and every later call returns at once with false, so a link thread can
/// never hold up the close by waiting for a window.
class CrossThreadCaller {
 public:
  /// True when `work` ran. On the context's own thread it runs directly.
  bool Call(QObject* context, std::function<void()> work);
  void Cancel();
  [[nodiscard]] bool cancelled() const { return cancelled_.load(); }

 private:
  std::atomic<bool> cancelled_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace rmt4::ui
