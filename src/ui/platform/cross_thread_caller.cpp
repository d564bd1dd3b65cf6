#include "ui/platform/cross_thread_caller.h"

#include <QMetaObject>
#include <QThread>

#include <memory>

namespace rmt4::ui {

bool CrossThreadCaller::Call(QObject* context, std::function<void()> work) {
  if (cancelled_.load() || context == nullptr) return false;
  if (context->thread() == QThread::currentThread()) {
    work();
    return true;
  }
  // The flag outlives this call: a cancelled waiter returns while the queued
  // call may still be waiting in the window's queue.
  auto done = std::make_shared<bool>(false);
  QMetaObject::invokeMethod(
      context,
      [this, done, work = std::move(work)] {
        if (!cancelled_.load()) work();
        std::lock_guard lock(mutex_);
        *done = true;
        wake_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return *done || cancelled_.load(); });
  return *done;
}

void CrossThreadCaller::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_.store(true);
  wake_.notify_all();
}

}  // namespace rmt4::ui
