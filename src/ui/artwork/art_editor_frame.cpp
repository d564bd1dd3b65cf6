// Channel editor frame: background 150.
#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kWidth = 1141;
constexpr int kHeight = 678;

/// A sunken area with a dark fill and a rim, where a control or panel sits.
void DrawWell(QPainter& p, const QRectF& area, const QColor& fill) {
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(area.adjusted(-2.5, -2.5, 2.5, 2.5), 4, 4);
}

// The curve across the top, the header row below it, the two channel
// sections at the sides with their fader slots, the panel well in the
// middle and the meter wells at the right edge.
const Register frame(150, kWidth, kHeight, [](QPainter& p, const QImage&) {
  FillPanel(p, QRectF(0, 0, kWidth, kHeight), kPanelDark);
  DrawWell(p, QRectF(15, 16, 1112, 245), QColor(8, 9, 11));
  // The header row between the curve and the panel.
  p.setPen(Qt::NoPen);
  p.setBrush(kPanel);
  p.drawRoundedRect(QRectF(100, 268, 892, 78), 4, 4);
  p.fillRect(QRectF(100, 268, 892, 1), kAccent);
  // The title plate.
  p.setBrush(kPanelLight.darker(130));
  p.drawRoundedRect(QRectF(430, 274, 233, 34), 5, 5);
  // The input and output sections, each a column from selector to fader.
  for (qreal left : {6.0, 994.0}) {
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(kPanel);
    p.drawRoundedRect(QRectF(left + 0.5, 268.5, 89, 400), 5, 5);
    DrawWell(p, QRectF(left + 15, 415, 59, 231), QColor(18, 19, 22));
  }
  DrawWell(p, QRectF(104, 350, 882, 293), QColor(14, 15, 18));
  DrawWell(p, QRectF(1095, 272, 32, 370), QColor(8, 9, 11));
  p.fillRect(QRectF(0, kHeight - 1, kWidth, 1), kRim);
});

}  // namespace
}  // namespace rmt4::artwork
