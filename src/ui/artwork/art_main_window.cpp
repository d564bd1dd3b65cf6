// Main window: background 133, caption buttons 143..145, top-bar buttons 164, icon 128.
#include <QPainterPath>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kWidth = 1144;
constexpr int kHeight = 710;

// A light caption band (the title is drawn in black on it), the dark button
// bar below it, and the charcoal floor the strips stand on.
const Register background(133, kWidth, kHeight, [](QPainter& p, const QImage&) {
  QLinearGradient caption(0, 0, 0, 30);
  caption.setColorAt(0.0, QColor(236, 238, 241));
  caption.setColorAt(1.0, QColor(200, 204, 210));
  p.fillRect(QRectF(0, 0, kWidth, 30), caption);
  p.fillRect(QRectF(0, 30, kWidth, 21), QColor(30, 34, 44));
  p.fillRect(QRectF(0, 30, kWidth, 1), kAccent);
  FillPanel(p, QRectF(0, 51, kWidth, kHeight - 51), kPanelDark);
  // Recessed wells behind the input strips and the output strip.
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(kPanel);
  p.drawRoundedRect(QRectF(1.5, 52.5, 1010, 642), 4, 4);
  p.drawRoundedRect(QRectF(1011.5, 50.5, 131, kHeight - 52), 4, 4);
  p.fillRect(QRectF(0, kHeight - 1, kWidth, 1), kRim);
});

void DrawCaptionButton(QPainter& p, void (*glyph)(QPainter&, const QRectF&)) {
  for (int frame = 0; frame < 2; ++frame) {
    const QRectF cell(frame * 10, 0, 10, 10);
    p.fillRect(cell, Qt::white);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::NoBrush);
    glyph(p, cell.adjusted(2.5, 2.5, -2.5, -2.5));
  }
}

const Register closeButton(143, 20, 10, [](QPainter& p, const QImage&) {
  DrawCaptionButton(p, [](QPainter& q, const QRectF& r) {
    q.drawLine(r.topLeft(), r.bottomRight());
    q.drawLine(r.topRight(), r.bottomLeft());
  });
});
const Register maximiseButton(144, 20, 10, [](QPainter& p, const QImage&) {
  DrawCaptionButton(p, [](QPainter& q, const QRectF& r) { q.drawRect(r); });
});
const Register minimiseButton(145, 20, 10, [](QPainter& p, const QImage&) {
  DrawCaptionButton(p, [](QPainter& q, const QRectF& r) { q.drawLine(QPointF(r.left(), r.bottom()), r.bottomRight()); });
});

// Frame 0 is invisible (the bar shows through); frame 1 a faint blue with a rim.
const Register topBarButton(164, 160, 19, [](QPainter& p, const QImage&) {
  const QRectF lit(80.5, 0.5, 79, 18);
  p.setPen(QPen(QColor(5, 64, 235, 120), 1.0));
  p.setBrush(QColor(5, 64, 235, 25));
  p.drawRoundedRect(lit, 3, 3);
});

// A fader cap on a dark rounded square.
const Register icon(128, 64, 64, [](QPainter& p, const QImage&) {
  DrawRoundedBox(p, QRectF(0, 0, 64, 64), QColor(30, 34, 44), 12);
  p.setPen(QPen(QColor(150, 156, 166), 3.0, Qt::SolidLine, Qt::RoundCap));
  for (int slot = 0; slot < 3; ++slot) p.drawLine(QPointF(16 + 16 * slot, 12), QPointF(16 + 16 * slot, 52));
  const qreal caps[3] = {34, 20, 42};
  for (int slot = 0; slot < 3; ++slot) {
    DrawRoundedBox(p, QRectF(9 + 16 * slot, caps[slot], 14, 8), slot == 1 ? kAccent : QColor(220, 222, 226), 2);
  }
});

}  // namespace
}  // namespace rmt4::artwork
