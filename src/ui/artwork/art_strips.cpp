// Mixing strips: input strip background 134 and output strip background 148.
// Both are opaque; the strip's controls are drawn over them at the
// rectangles the strips place them in, so every panel below follows those.
#include <QFont>

#include <array>

#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kInputWidth = 82;
constexpr int kInputHeight = 639;
constexpr int kOutputWidth = 130;
constexpr int kOutputHeight = 656;

const QColor kWell(14, 15, 17);
const QColor kEngraving(150, 156, 166);

// The strip's body: a charcoal panel with a light left edge and a dark right
// edge, so neighbouring strips read as separate modules.
void DrawStripBody(QPainter& p, const QRectF& area) {
  FillPanel(p, area, kPanel);
  p.fillRect(QRectF(area.left(), area.top(), 1, area.height()), kPanelLight);
  p.fillRect(QRectF(area.right() - 1, area.top(), 1, area.height()), kPanelDark);
}

// A recessed area: darker fill, dark top/left rim, lighter bottom/right rim.
void DrawRecess(QPainter& p, const QRectF& area, const QColor& fill, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(kPanelLight);
  p.drawRoundedRect(area.adjusted(0, 0, 1, 1), radius, radius);
  p.setBrush(kPanelDark);
  p.drawRoundedRect(area.adjusted(-1, -1, 0, 0), radius, radius);
  p.setBrush(fill);
  p.drawRoundedRect(area, radius, radius);
}

// The channel or bus name plate (the name label sits on it).
void DrawNamePlate(QPainter& p) { DrawRecess(p, QRectF(4, 15, 74, 24), kPanelDark, 3); }

// A faint separator panel behind a group of buttons.
void DrawButtonGroup(QPainter& p, const QRectF& area) {
  p.setPen(QPen(kPanelDark, 1.0));
  p.setBrush(kPanel.darker(112));
  p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

// The read-outs and the pan slider sit in one recessed band.
void DrawReadoutBand(QPainter& p, const QRectF& area) { DrawRecess(p, area, QColor(28, 30, 33), 3); }

// Fader steps of the engraved marks and the numbers printed beside them:
// +10, +5, 0, -5, -10, -20, -30, -40, -60 dB and the bottom.
struct ScaleMark {
  int step;
  const char* text;
};
constexpr std::array<ScaleMark, 10> kScaleMarks{{{280, "10"},
                                                 {230, "5"},
                                                 {180, "0"},
                                                 {155, "5"},
                                                 {130, "10"},
                                                 {80, "20"},
                                                 {60, "30"},
                                                 {40, "40"},
                                                 {30, "60"},
                                                 {0, "\u221E"}}};

// The fader well (the fader's own 59 × 293 rectangle at `faderTop`) and the
// dB scale engraved beside it, ticks left and numbers right. The marks follow
// the cap's travel: its centre is 275 px below the fader's top at the bottom
// and 18 px below it at +10 dB.
void DrawFaderWell(QPainter& p, qreal faderTop) {
  DrawRecess(p, QRectF(10, faderTop - 2, 61, 297), QColor(30, 32, 35), 4);
  QFont font("DejaVu Sans");
  QFont infinity = font;
  font.setPixelSize(7);
  infinity.setPixelSize(10);  // at 7 px the sign reads as a dash
  for (const ScaleMark& mark : kScaleMarks) {
    p.setFont(mark.step == 0 ? infinity : font);
    const qreal y = faderTop + 275.0 - mark.step * (275.0 - 18.0) / 280.0;
    p.setPen(QPen(mark.step == 180 ? QColor(220, 224, 230) : kEngraving, 1.0));
    p.drawLine(QPointF(4, y), QPointF(8, y));
    p.drawText(QRectF(71, y - 5, 11, 10), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(mark.text));
  }
}

void DrawChannelControls(QPainter& p, qreal routingTop) {
  DrawNamePlate(p);
  DrawButtonGroup(p, QRectF(6, 44, 70, routingTop - 48));
  DrawButtonGroup(p, QRectF(6, routingTop, 70, 32));
  DrawReadoutBand(p, QRectF(4, 245, 74, 44));
  DrawReadoutBand(p, QRectF(4, 293, 74, 26));
  DrawFaderWell(p, 326);
}

const Register inputStrip(134, kInputWidth, kInputHeight, [](QPainter& p, const QImage&) {
  DrawStripBody(p, QRectF(0, 0, kInputWidth, kInputHeight));
  // ENTER..48V above, then L/R at 204..228.
  DrawChannelControls(p, 200);
});

// The meter bridge: a black recess around both meters with level ticks
// between them (twelve steps over 370 px).
void DrawMeterBridge(QPainter& p) {
  DrawRecess(p, QRectF(86, 276, 38, 376), kWell, 3);
  p.setPen(QPen(kEngraving, 1.0));
  for (int level = 0; level <= 12; ++level) {
    const qreal y = 279 + 370.0 - level * 370.0 / 12.0;
    p.drawLine(QPointF(104.5, y), QPointF(105.5, y));
  }
}

const Register outputStrip(148, kOutputWidth, kOutputHeight, [](QPainter& p, const QImage&) {
  DrawStripBody(p, QRectF(0, 0, kOutputWidth, kOutputHeight));
  // On the output strip L/R take the 48V row (165..189).
  DrawChannelControls(p, 161);
  // Bus selector column: seven buttons at 6 + 38·k.
  DrawButtonGroup(p, QRectF(81, 3, 48, 271));
  DrawMeterBridge(p);
});

}  // namespace
}  // namespace rmt4::artwork
