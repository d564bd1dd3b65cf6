#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace rmt4::ui {

/// An invisible strip along one edge or at one corner of a borderless
/// top-level window that resizes the window when dragged. It shows the
/// matching resize cursor, keeps itself placed and on top as the window's
/// size changes, and hides while the window is maximised. The window manager
/// performs the resize where it can; elsewhere (and offscreen) the grip
/// resizes the window itself, so the window's own layout runs live.
class EdgeResizeGrip final : public QWidget {
 public:
  /// The grip's thickness along an edge, in pixels.
  static constexpr int kMargin = 4;
  /// The length of a corner grip along each of its two edges.
  static constexpr int kCornerLength = 2 * kMargin;

  /// A grip on `edges` (one edge or two adjacent ones) of the top-level
  /// `window`; a drag never makes the window smaller than `minimum`.
  EdgeResizeGrip(QWidget* window, Qt::Edges edges, QSize minimum);

  /// One grip on each edge and corner of `window`.
  static void AddAll(QWidget* window, QSize minimum);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Place();

  const Qt::Edges edges_;
  const QSize minimum_;
  bool resizing_ = false;
  QPoint pressedAt_;     // global position of the press
  QRect startGeometry_;  // the window's geometry at the press
};

}  // namespace rmt4::ui
