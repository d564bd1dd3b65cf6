#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <utility>

namespace rmt4::bench {

/// Counts paint events of every widget, so that a run can show that the
/// repaints it means to time happened inside the timed part.
class PaintCounter final : public QObject {
 public:
  PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
  ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;

  int Take() { return std::exchange(count_, 0); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  int count_ = 0;
};

}  // namespace rmt4::bench
