#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPoint>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "ui/controls/offscreen_buffer.h"
#include "ui/platform/window_message.h"
#include "user_input.h"

namespace rmt4::test {

/// A window message as its receiver saw it.
struct RecordedMessage {
  int number;
  std::intptr_t wParam, lParam;
  bool operator==(const RecordedMessage&) const = default;
};

/// A host window with a background buffer of one colour (the pixels its
/// skinned children copy) that records the window messages its children send
/// or post to it and the keys they pass on. It stays hidden until shown.
class RecordingHost : public QWidget {
 public:
  /// What LastReported gives when nothing arrived.
  static constexpr std::intptr_t kNothingReported = -99999;

  RecordingHost(QSize size, const QColor& colour) {
    resize(size);
    background.Recreate(0, 0, size.width(), size.height());
    background.image().fill(colour);
  }

  /// Everything received so far, after delivering what is queued.
  std::vector<RecordedMessage> Messages() {
    QCoreApplication::sendPostedEvents(this);
    return received_;
  }
  void Forget() { received_.clear(); }
  /// The last lParam received, or kNothingReported.
  std::intptr_t LastReported() {
    const std::vector<RecordedMessage> messages = Messages();
    return messages.empty() ? kNothingReported : messages.back().lParam;
  }

  ui::OffscreenBuffer background;
  std::vector<int> passedKeys;

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, background.image()); }
  void keyPressEvent(QKeyEvent* event) override { passedKeys.push_back(event->key()); }
  bool event(QEvent* event) override {
    if (const ui::WindowMessage* message = ui::AsWindowMessage(event)) {
      received_.push_back({message->message(), message->wParam(), message->lParam()});
      return true;
    }
    return QWidget::event(event);
  }

 private:
  std::vector<RecordedMessage> received_;
};

/// The widget as it draws itself, in one pixel format for comparisons.
inline QImage Picture(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

/// The widget as its shown window holds it, after the repaints so far (partial
/// ones included), in Picture's format.
inline QImage OnScreen(QWidget& widget) {
  const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
  return widget.screen()
      ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

/// The rectangles of the paint events a widget receives.
struct PaintedRects : QObject {
  explicit PaintedRects(QWidget& widget) { widget.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(event)->rect());
    return false;
  }
  std::vector<QRect> rects;
};

}  // namespace rmt4::test
