#include "ui/platform/edge_resize_grip.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

namespace rmt4::ui {
namespace {

Qt::CursorShape CursorFor(Qt::Edges edges) {
  if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)) return Qt::SizeFDiagCursor;
  if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge)) return Qt::SizeBDiagCursor;
  return edges & (Qt::LeftEdge | Qt::RightEdge) ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

/// `start` with the dragged `edges` moved by `delta`, the opposite edges kept
/// and the size no smaller than `minimum`.
QRect ResizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum) {
  QRect r = start;
  if (edges & Qt::LeftEdge) r.setLeft(std::min(start.left() + delta.x(), start.right() + 1 - minimum.width()));
  if (edges & Qt::RightEdge) r.setRight(std::max(start.right() + delta.x(), start.left() + minimum.width() - 1));
  if (edges & Qt::TopEdge) r.setTop(std::min(start.top() + delta.y(), start.bottom() + 1 - minimum.height()));
  if (edges & Qt::BottomEdge) r.setBottom(std::max(start.bottom() + delta.y(), start.top() + minimum.height() - 1));
  return r;
}

/// Where a grip lies along one axis of a window `length` long: at the near
/// end, the far end, or between the corner grips.
struct Span {
  int start, length;
};
Span SpanAlong(int length, bool nearEnd, bool farEnd, bool corner) {
  const int thickness = corner ? EdgeResizeGrip::kCornerLength : EdgeResizeGrip::kMargin;
  if (nearEnd) return {0, thickness};
  if (farEnd) return {length - thickness, thickness};
  return {EdgeResizeGrip::kCornerLength, length - 2 * EdgeResizeGrip::kCornerLength};
}

}  // namespace

EdgeResizeGrip::EdgeResizeGrip(QWidget* window, Qt::Edges edges, QSize minimum)
    : QWidget(window), edges_(edges), minimum_(minimum) {
  setCursor(CursorFor(edges));
  window->installEventFilter(this);
  Place();
}

void EdgeResizeGrip::AddAll(QWidget* window, QSize minimum) {
  for (const Qt::Edges edges : {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
                                Qt::Edges(Qt::BottomEdge), Qt::LeftEdge | Qt::TopEdge, Qt::RightEdge | Qt::TopEdge,
                                Qt::LeftEdge | Qt::BottomEdge, Qt::RightEdge | Qt::BottomEdge}) {
    new EdgeResizeGrip(window, edges, minimum);
  }
}

bool EdgeResizeGrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && (event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange)) {
    Place();
  }
  return false;
}

void EdgeResizeGrip::Place() {
  const QWidget& window = *parentWidget();
  const bool corner = (edges_ & (Qt::LeftEdge | Qt::RightEdge)) && (edges_ & (Qt::TopEdge | Qt::BottomEdge));
  const Span x = SpanAlong(window.width(), edges_ & Qt::LeftEdge, edges_ & Qt::RightEdge, corner);
  const Span y = SpanAlong(window.height(), edges_ & Qt::TopEdge, edges_ & Qt::BottomEdge, corner);
  setGeometry(x.start, y.start, x.length, y.length);
  // A maximised or full-screen window has no edges to drag.
  setVisible(!(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)));
  raise();  // above the controls the window lays out under its edges
}

void EdgeResizeGrip::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  QWidget& window = *parentWidget();
  // The window manager's own resize is the smoothest where it is offered.
  if (window.windowHandle() != nullptr && window.windowHandle()->startSystemResize(edges_)) return;
  resizing_ = true;
  pressedAt_ = event->globalPosition().toPoint();
  startGeometry_ = window.geometry();
}

void EdgeResizeGrip::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!resizing_) return;
  parentWidget()->setGeometry(
      ResizedGeometry(startGeometry_, edges_, event->globalPosition().toPoint() - pressedAt_, minimum_));
}

void EdgeResizeGrip::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) resizing_ = false;
}

}  // namespace rmt4::ui
