// Labels, level meter and combo boxes: read-out brackets 146, meter bar 167,
// combo skins 152, 160 and 166.
#include <QPainterPath>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

// Thin light-grey brackets at both ends of a value read-out; the rest stays
// transparent so the strip shows through.
const Register readoutBrackets(146, 78, 22, [](QPainter& p, const QImage&) {
  p.setPen(QPen(QColor(185, 188, 194), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  QPolygonF left;
  left << QPointF(6.5, 2.5) << QPointF(1.5, 2.5) << QPointF(1.5, 19.5) << QPointF(6.5, 19.5);
  p.drawPolyline(left);
  QPolygonF right;
  right << QPointF(71.5, 2.5) << QPointF(76.5, 2.5) << QPointF(76.5, 19.5) << QPointF(71.5, 19.5);
  p.drawPolyline(right);
});

// Level meter: the same bar twice, unlit on the left and lit on the right.
// The meter stitches the two at a row, so every row must hold flat colours.
constexpr int kMeterColumn = 15;
constexpr int kMeterHeight = 370;

struct MeterZone {
  int firstRow, lastRow;
  QColor unlit, lit;
};

const Register meter(167, 2 * kMeterColumn, kMeterHeight, [](QPainter& p, const QImage&) {
  const QColor rim(128, 128, 128);
  const MeterZone zones[] = {
      {0, 0, rim, rim},
      {1, 39, QColor(98, 48, 48), QColor(220, 0, 0)},
      {40, 149, QColor(98, 98, 48), QColor(220, 220, 0)},
      {150, 368, QColor(48, 98, 48), QColor(0, 220, 0)},
      {369, 369, rim, rim},
  };
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const MeterZone& zone : zones) {
    const int rows = zone.lastRow - zone.firstRow + 1;
    p.fillRect(QRect(0, zone.firstRow, kMeterColumn, rows), zone.unlit);
    p.fillRect(QRect(kMeterColumn, zone.firstRow, kMeterColumn, rows), zone.lit);
  }
});

// Combo skins: frame 0 (not focused) a dark blue rounded box, frame 1
// (focused) a lighter one; a grey down-pointing triangle sits right of the
// text area, centred on `arrowCentre`.
void DrawComboSkin(QPainter& p, int frameWidth, int frameHeight, qreal arrowCentre) {
  const QColor fills[2] = {QColor(0, 47, 83), QColor(0, 56, 100)};
  // The focused frame also gets a brighter rim, so focus reads at a glance.
  const QColor rims[2] = {QColor(40, 88, 128), QColor(90, 150, 215)};
  for (int frame = 0; frame < 2; ++frame) {
    const QRectF box(frame * frameWidth + 0.5, 0.5, frameWidth - 1.0, frameHeight - 1.0);
    p.setPen(QPen(rims[frame], 1.0));
    p.setBrush(fills[frame]);
    p.drawRoundedRect(box, 4, 4);
    const qreal x = frame * frameWidth + arrowCentre;
    const qreal y = frameHeight / 2.0;
    QPainterPath arrow;
    arrow.moveTo(x - 4.5, y - 2.5);
    arrow.lineTo(x + 4.5, y - 2.5);
    arrow.lineTo(x, y + 3);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(150, 150, 150));
  }
}

const Register comboSelector(152, 160, 30, [](QPainter& p, const QImage&) { DrawComboSkin(p, 80, 30, 71); });
const Register comboFilterType(160, 220, 24, [](QPainter& p, const QImage&) { DrawComboSkin(p, 110, 24, 101); });
const Register comboWide(166, 260, 30, [](QPainter& p, const QImage&) { DrawComboSkin(p, 130, 30, 120); });

}  // namespace
}  // namespace rmt4::artwork
