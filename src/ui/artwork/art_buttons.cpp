// Two-frame button skins of the strips and editors: 136..140, 149, 165.
// Frame 0 is the left half, frame 1 the right half; each is a rounded box
// with a soft bevel, inset by half a pixel so that neighbours never bleed.
#include <algorithm>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

const QColor kOffGrey(60, 60, 60);
const QColor kMuteRed(160, 51, 51);
const QColor kPflYellow(160, 160, 50);
const QColor kEnterBlue(0, 47, 83);
const QColor kRouteGreen(41, 83, 41);
const QColor kOnGreen(49, 100, 49);

/// One frame: the rounded box of art_style with a one-pixel highlight just
/// inside its top edge and a shade along the bottom, which reads as a raised
/// key both at its own size and when stretched.
void DrawButtonFrame(QPainter& p, const QRectF& cell, const QColor& fill, const QColor& rim) {
  const qreal radius = std::min(cell.height(), cell.width()) * 0.16;
  DrawRoundedBox(p, cell, fill, radius);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(rim, 1.0));
  p.drawRoundedRect(cell.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  const QRectF inner = cell.adjusted(1.5, 1.5, -1.5, -1.5);
  QColor highlight = fill.lighter(170);
  highlight.setAlpha(110);
  p.setPen(QPen(highlight, 1.0));
  p.drawLine(QPointF(inner.left() + radius * 0.6, inner.top()), QPointF(inner.right() - radius * 0.6, inner.top()));
  QColor shade = fill.darker(160);
  shade.setAlpha(120);
  p.setPen(QPen(shade, 1.0));
  p.drawLine(QPointF(inner.left() + radius * 0.6, inner.bottom()),
             QPointF(inner.right() - radius * 0.6, inner.bottom()));
}

/// A two-frame strip of `width`×`height`, each frame with its own colours.
void DrawTwoFrames(QPainter& p, int width, int height, const QColor& off, const QColor& on) {
  const qreal frameWidth = width / 2.0;
  DrawButtonFrame(p, QRectF(0, 0, frameWidth, height), off, off.darker(170));
  DrawButtonFrame(p, QRectF(frameWidth, 0, frameWidth, height), on, on.darker(170));
}

const Register muteButton(136, 120, 30, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 120, 30, kOffGrey, kMuteRed); });
const Register pflButton(137, 120, 30, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 120, 30, kOffGrey, kPflYellow); });
const Register enterButton(138, 120, 30, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 120, 30, kEnterBlue, kOffGrey); });
const Register routeButton(139, 120, 30, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 120, 30, kOffGrey, kRouteGreen); });
const Register smallGreenButton(140, 62, 24, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 62, 24, kOnGreen, kOffGrey); });
const Register editorButton(165, 100, 20, [](QPainter& p, const QImage&) { DrawTwoFrames(p, 100, 20, kOffGrey, kOnGreen); });

// Main output strip: the same blue twice, told apart by the rim: dark when
// off, a light blue glow when on.
const Register outputButton(149, 88, 30, [](QPainter& p, const QImage&) {
  DrawButtonFrame(p, QRectF(0, 0, 44, 30), kEnterBlue, QColor(8, 14, 22));
  DrawButtonFrame(p, QRectF(44, 0, 44, 30), kEnterBlue, QColor(120, 185, 255));
});

}  // namespace
}  // namespace rmt4::artwork
