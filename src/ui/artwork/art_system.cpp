// System window: 163, its background (500 × 400): a charcoal panel with a
// recessed well behind each of the six groups of controls.
#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 400;
// The group boxes' rectangles (left, top, width, height).
const QRectF kWells[] = {{10, 10, 210, 205}, {260, 10, 210, 205}, {10, 230, 140, 70}, {167, 230, 140, 70},
                         {324, 230, 140, 70}, {10, 315, 460, 45}};

const Register background(163, kWidth, kHeight, [](QPainter& p, const QImage&) {
  FillPanel(p, QRectF(0, 0, kWidth, kHeight), kPanel);
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
  for (const QRectF& well : kWells) {
    p.setPen(QPen(kPanelDark, 1.0));
    p.setBrush(kPanel.darker(115));
    p.drawRoundedRect(well.adjusted(-2.5, -2.5, 2.5, 2.5), 4, 4);
  }
  // A thin blue rule along the bottom, the console's ENTER colour.
  p.fillRect(QRectF(10, kHeight - 40, kWidth - 20, 2), kAccent);
});

}  // namespace
}  // namespace rmt4::artwork
