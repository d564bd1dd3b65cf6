// The EQ band panel, PNG 161: the 98 × 250 panel the control stretches over
// itself, and below it the pieces it draws on top: two gain thumbs and the
// three looks of the band-type buttons.
#include <QFont>
#include <QPainterPath>
#include <array>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kPanelWidth = 98;
constexpr int kPanelHeight = 250;

// The gain axis the control computes its thumb position on: the thumb centre
// is at y 209 for −24 dB and at y 40 for +12 dB; the slot is x 80..83.
constexpr int kSlotLeft = 80;
constexpr int kSlotWidth = 4;
constexpr int kAxisTop = 40;
constexpr int kAxisBottom = 209;
constexpr double kGainMin = -24.0;
constexpr double kGainMax = 12.0;

// The white boxes under the entry fields, and the light plate the band number
// is written on (black, red when focused).
constexpr std::array<QRect, 3> kFieldBoxes{QRect(8, 177, 54, 16), QRect(8, 202, 54, 16), QRect(8, 227, 54, 15)};
constexpr QRectF kNumberPlate(0, 45, 18, 18);

// Thumbs (resting, focused) and the type-button columns (peaking, high shelf,
// low shelf lit), each 16 × 76 with a 16 × 16 button every 30 px.
constexpr QRectF kThumbResting(73, 260, 16, 26);
constexpr QRectF kThumbFocused(73, 300, 16, 26);
constexpr std::array<qreal, 3> kTypeColumnLefts{1, 19, 37};
constexpr qreal kTypeColumnTop = 260;

struct ScaleMark {
  double gain;
  const char* text;
};
constexpr std::array<ScaleMark, 4> kScaleMarks{{{12, "+12"}, {0, "0"}, {-12, "-12"}, {-24, "-24"}}};

/// Where the thumb centre sits for `gain`, rounded as the control rounds it.
int AxisY(double gain) {
  return static_cast<int>(kAxisBottom - (gain - kGainMin) * (kAxisBottom - kAxisTop) / (kGainMax - kGainMin) + 0.5);
}

void DrawGainSlot(QPainter& p) {
  p.fillRect(QRect(kSlotLeft - 1, kAxisTop - 1, kSlotWidth + 2, kAxisBottom - kAxisTop + 3), kPanelLight);
  p.fillRect(QRect(kSlotLeft, kAxisTop, kSlotWidth, kAxisBottom - kAxisTop + 1), Qt::black);
  QFont font("DejaVu Sans");
  font.setPixelSize(7);
  p.setFont(font);
  for (const ScaleMark& mark : kScaleMarks) {
    const qreal y = AxisY(mark.gain) + 0.5;
    const bool zero = mark.gain == 0;
    p.setPen(QPen(zero ? QColor(220, 224, 230) : QColor(140, 144, 152), 1.0));
    p.drawLine(QPointF(kSlotLeft + kSlotWidth + 2, y), QPointF(kSlotLeft + kSlotWidth + (zero ? 10 : 7), y));
    p.drawText(QRectF(60, y - 5, 17, 10), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(mark.text));
  }
}

void DrawPanel(QPainter& p) {
  const QRectF panel(0, 0, kPanelWidth, kPanelHeight);
  FillPanel(p, panel, kPanel);
  p.setPen(QPen(kPanelDark, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(panel.adjusted(0.5, 0.5, -0.5, -0.5));
  DrawGainSlot(p);
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(QColor(206, 210, 216));
  p.drawRoundedRect(kNumberPlate.adjusted(1.5, 0.5, -0.5, -0.5), 2, 2);
  for (const QRect& box : kFieldBoxes) {
    p.fillRect(box.adjusted(-1, -1, 1, 1), kPanelDark);
    p.fillRect(box, Qt::white);
  }
}

// A dark-red fader cap with a horizontal centre line.
void DrawThumb(QPainter& p, const QRectF& box, const QColor& line) {
  QLinearGradient red(box.topLeft(), box.bottomLeft());
  red.setColorAt(0.0, QColor(176, 44, 40));
  red.setColorAt(0.5, QColor(128, 26, 24));
  red.setColorAt(1.0, QColor(96, 16, 14));
  p.setPen(QPen(QColor(50, 8, 8), 1.0));
  p.setBrush(red);
  p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
  p.fillRect(QRectF(box.left() + 2, box.center().y() - 1, box.width() - 4, 2), line);
}

/// The curve on a type button: 0 peaking, 1 high shelf, 2 low shelf.
QPainterPath TypeIcon(const QRectF& button, int type) {
  const qreal left = button.left() + 3;
  const qreal right = button.right() - 3;
  const qreal low = button.bottom() - 4;
  const qreal high = button.top() + 4;
  const qreal middle = button.center().x();
  QPainterPath curve;
  if (type == 0) {
    curve.moveTo(left, low);
    curve.cubicTo(middle - 2, low, middle - 2, high, middle, high);
    curve.cubicTo(middle + 2, high, middle + 2, low, right, low);
  } else {
    const qreal startY = type == 1 ? low : high;
    const qreal endY = type == 1 ? high : low;
    curve.moveTo(left, startY);
    curve.cubicTo(middle, startY, middle, endY, right, endY);
  }
  return curve;
}

void DrawTypeColumn(QPainter& p, qreal left, int litType) {
  for (int type = 0; type < 3; ++type) {
    const QRectF button(left, kTypeColumnTop + 30 * type, 16, 16);
    const bool lit = type == litType;
    DrawRoundedBox(p, button, lit ? kAccent : kPanelLight, 2.5);
    p.setPen(QPen(lit ? QColor(Qt::white) : QColor(170, 174, 182), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(TypeIcon(button, type));
  }
}

const Register bandPanel(161, kPanelWidth, 374, [](QPainter& p, const QImage&) {
  DrawPanel(p);
  DrawThumb(p, kThumbResting, QColor(250, 250, 250));
  DrawThumb(p, kThumbFocused, QColor(70, 235, 100));
  for (int type = 0; type < 3; ++type) DrawTypeColumn(p, kTypeColumnLefts[static_cast<std::size_t>(type)], type);
});

}  // namespace
}  // namespace rmt4::artwork
