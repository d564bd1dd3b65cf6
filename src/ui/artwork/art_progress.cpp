// Progress window: 130 (empty bar) and 131 (the same frame, bar full).
#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kWidth = 541;
constexpr int kHeight = 161;
// The bar runs from x = 27 to x = 516, the span the window fills.
const QRectF kTrack(27, 52, 489, 22);

void DrawFrame(QPainter& p) {
  FillPanel(p, QRectF(0, 0, kWidth, kHeight), kPanel);
  p.setPen(QPen(kRim, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(1, 1, kWidth - 2, kHeight - 2), 8, 8);
  p.setPen(QColor(210, 214, 220));
  QFont title("WenQuanYi Micro Hei");
  title.setPixelSize(15);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRectF(27, 14, 489, 28), Qt::AlignLeft | Qt::AlignVCenter, "RMT-4");
  p.setPen(QPen(QColor(12, 13, 15), 1.0));
  p.setBrush(QColor(16, 17, 20));
  p.drawRoundedRect(kTrack.adjusted(-3, -3, 3, 3), 4, 4);
}

const Register empty(130, kWidth, kHeight, [](QPainter& p, const QImage&) { DrawFrame(p); });

const Register full(131, kWidth, kHeight, [](QPainter& p, const QImage&) {
  DrawFrame(p);
  QLinearGradient bar(kTrack.topLeft(), kTrack.bottomLeft());
  bar.setColorAt(0.0, QColor(110, 160, 255));
  bar.setColorAt(0.5, kAccent);
  bar.setColorAt(1.0, QColor(3, 40, 150));
  p.setPen(Qt::NoPen);
  p.setBrush(bar);
  p.drawRoundedRect(kTrack, 3, 3);
});

}  // namespace
}  // namespace rmt4::artwork
