// Faders 141 (strips) and 151 (editor frame); sliders 142 (strip pan),
// 155 (editor parameters) and 158 (editor frame balance).
#include <array>
#include <utility>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

// ---- Faders: two identical 59-px slot columns (the fader draws the first
// above its cap and the second below it), the caps underneath column one.

constexpr int kFaderColumn = 59;
constexpr qreal kSlotCentreX = 29;  // the cap's centre across the fader
constexpr qreal kTopOfTravel = 18;  // cap centre at the top position

// Fader positions (0..280) of the marks: +10, +5, 0, -5, -10, -20, -30,
// -40, -60 dB and the bottom, the steps the strips' level table gives them.
constexpr std::array<int, 10> kMarkSteps{280, 230, 180, 155, 130, 80, 60, 40, 30, 0};
constexpr int kZeroDbStep = 180;

void DrawSlotColumn(QPainter& p, qreal left, qreal bottomOfTravel) {
  // The slot itself: black, with a dark rim and a faint lower highlight.
  const QRectF slot(left + kSlotCentreX - 3, kTopOfTravel - 8, 6, bottomOfTravel - kTopOfTravel + 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kPanelLight);
  p.drawRoundedRect(slot.adjusted(-1, -1, 1, 2), 3, 3);
  p.setBrush(QColor(6, 6, 8));
  p.drawRoundedRect(slot, 3, 3);
  // Tick marks on both sides; 0 dB longer and brighter.
  for (const int step : kMarkSteps) {
    const qreal y = bottomOfTravel - step * (bottomOfTravel - kTopOfTravel) / 280.0 + 0.5;
    const bool zero = step == kZeroDbStep;
    const qreal reach = zero ? 13 : 10;
    p.setPen(QPen(zero ? QColor(210, 214, 220) : QColor(128, 132, 140), 1.0));
    p.drawLine(QPointF(left + kSlotCentreX - reach, y), QPointF(left + kSlotCentreX - 5, y));
    p.drawLine(QPointF(left + kSlotCentreX + 5, y), QPointF(left + kSlotCentreX + reach, y));
  }
}

// A metallic cap 22 × 36 centred on the slot, with grooves and a centre line
// (light at rest, red when the fader has the focus).
void DrawCap(QPainter& p, qreal top, const QColor& centreLine) {
  const QRectF body(kSlotCentreX - 11, top, 22, 36);
  QLinearGradient metal(body.topLeft(), body.bottomLeft());
  metal.setColorAt(0.0, QColor(224, 227, 231));
  metal.setColorAt(0.42, QColor(132, 136, 142));
  metal.setColorAt(0.5, QColor(96, 99, 105));
  metal.setColorAt(0.58, QColor(132, 136, 142));
  metal.setColorAt(1.0, QColor(196, 199, 204));
  p.setPen(QPen(QColor(20, 21, 24), 1.0));
  p.setBrush(metal);
  p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
  p.setPen(QPen(QColor(60, 62, 68, 170), 1.0));
  for (const qreal groove : {6.5, 10.5, 25.5, 29.5}) {
    p.drawLine(QPointF(body.left() + 3, top + groove), QPointF(body.right() - 3, top + groove));
  }
  p.fillRect(QRectF(body.left() + 1, top + 17, 20, 2), centreLine);
}

void DrawFader(QPainter& p, int bottomOfTravel, int capLook0Top, int capLook1Top) {
  DrawSlotColumn(p, 0, bottomOfTravel);
  DrawSlotColumn(p, kFaderColumn, bottomOfTravel);
  DrawCap(p, capLook0Top, QColor(245, 246, 248));
  DrawCap(p, capLook1Top, QColor(225, 30, 30));
}

const Register stripFader(141, 2 * kFaderColumn, 393,
                          [](QPainter& p, const QImage&) { DrawFader(p, 275, 310, 350); });
const Register editorFader(151, 2 * kFaderColumn, 344,
                           [](QPainter& p, const QImage&) { DrawFader(p, 213, 240, 280); });

// ---- Sliders: the band pieces on the left, thumbs further right.

// The pan band: a dark bar with a lighter track line. The slider stretches
// the band's first six columns over its left half, so every column is alike.
void DrawPanBand(QPainter& p, qreal left, qreal width) {
  p.fillRect(QRectF(left, 3, width, 9), QColor(18, 19, 22));
  p.fillRect(QRectF(left, 3, width, 1), QColor(8, 8, 10));
  p.fillRect(QRectF(left, 11, width, 1), kRim);
  p.fillRect(QRectF(left, 6, width, 3), QColor(62, 66, 74));
  p.fillRect(QRectF(left, 7, width, 1), QColor(128, 134, 144));
}

// A cream knob with three brown grip lines.
void DrawCreamThumb(QPainter& p, const QRectF& box, int gripLines) {
  QLinearGradient cream(box.topLeft(), box.bottomLeft());
  cream.setColorAt(0.0, QColor(252, 244, 222));
  cream.setColorAt(1.0, QColor(212, 196, 160));
  p.setPen(QPen(QColor(110, 88, 56), 1.0));
  p.setBrush(cream);
  p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  p.setPen(QPen(QColor(124, 78, 36), 1.0));
  const qreal centre = box.center().x();
  for (int line = 0; line < gripLines; ++line) {
    const qreal x = centre + (line - (gripLines - 1) / 2.0) * 3.0;
    p.drawLine(QPointF(x, box.top() + 4), QPointF(x, box.bottom() - 4));
  }
}

const Register panSlider(142, 152, 15, [](QPainter& p, const QImage&) {
  DrawPanBand(p, 0, 60);
  DrawPanBand(p, 60, 26);  // the short band
  DrawCreamThumb(p, QRectF(110, 0, 15, 15), 3);
  DrawCreamThumb(p, QRectF(137, 0, 15, 15), 3);
});

// Editor sliders: the upper half stays clear for the caption; the lower half
// holds the band and the thumbs.
constexpr qreal kBandTop = 16;
constexpr qreal kBandHeight = 16;

const Register editorSlider(155, 308, 32, [](QPainter& p, const QImage&) {
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(QColor(30, 32, 36));
  p.drawRoundedRect(QRectF(0.5, kBandTop + 0.5, 213, kBandHeight - 1), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(11, 22, 192, 4), 2, 2);
  for (const auto& [left, line] : {std::pair{250.0, QColor(250, 250, 250)}, std::pair{280.0, QColor(70, 235, 100)}}) {
    const QRectF box(left, kBandTop, 26, kBandHeight);
    QLinearGradient red(box.topLeft(), box.bottomLeft());
    red.setColorAt(0.0, QColor(184, 48, 44));
    red.setColorAt(1.0, QColor(112, 22, 20));
    p.setPen(QPen(QColor(58, 10, 10), 1.0));
    p.setBrush(red);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.fillRect(QRectF(box.center().x() - 1, kBandTop + 2, 2, kBandHeight - 4), line);
  }
});

const Register balanceSlider(158, 308, 32, [](QPainter& p, const QImage&) {
  p.setPen(QPen(kRim, 1.0));
  p.setBrush(QColor(30, 32, 36));
  p.drawRoundedRect(QRectF(13.5, kBandTop + 1.5, 187, kBandHeight - 3), 3, 3);
  p.fillRect(QRectF(17, 23, 180, 2), QColor(128, 132, 140));
  DrawCreamThumb(p, QRectF(250, kBandTop, 16, kBandHeight), 1);
  DrawCreamThumb(p, QRectF(280, kBandTop, 16, kBandHeight), 1);
});

}  // namespace
}  // namespace rmt4::artwork
