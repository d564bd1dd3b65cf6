#include "ui/controls/response_curve_sprites.h"

#include <QPainter>
#include <QPolygon>

#include <array>

#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

constexpr std::array<QRgb, kCurvePointCount> kPointRgb{
    qRgb(255, 0, 0),     qRgb(255, 0, 0),    qRgb(0, 191, 255),   qRgb(32, 178, 170), qRgb(0, 255, 0),
    qRgb(124, 252, 0),   qRgb(255, 255, 0),  qRgb(255, 140, 140), qRgb(240, 128, 128), qRgb(255, 127, 80),
    qRgb(219, 112, 147), qRgb(255, 0, 255),  qRgb(124, 4, 64),    qRgb(121, 61, 1),   qRgb(124, 124, 64),
};
constexpr int kPointAlpha = 150;
/// How much thinner than its cell each frame's ring is: the pulse.
constexpr std::array<int, kCurveMarkerFrames> kRingInset{4, 6, 8, 6, 4, 4};
constexpr int kTickLeft = 9;
constexpr int kTickRight = 15;

QImage TransparentImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void DrawMarkerCell(QPainter& painter, int point, int frame) {
  const QColor colour = CurvePointColour(point);
  const int left = kCurveCellSize * frame;
  const int top = kCurveCellSize * point;
  const int centre = kCurveCellSize / 2;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 10));
  painter.drawEllipse(QRect(left, top, kCurveCellSize, kCurveCellSize));

  const int diameter = kCurveCellSize - kRingInset[static_cast<std::size_t>(frame)];
  const int ringLeft = left + centre - diameter / 2;
  const int ringTop = top + centre - diameter / 2;
  painter.setPen(QPen(colour, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QRect(ringLeft, ringTop, diameter, diameter));
  for (const int y : {ringTop, ringTop + diameter}) painter.drawLine(left + kTickLeft, y, left + kTickRight, y);

  painter.setPen(Qt::white);
  painter.drawText(QRect(left, top, kCurveCellSize, kCurveCellSize), Qt::AlignCenter | Qt::TextDontClip,
                   CurvePointName(point));
}

void FillArrow(QPainter& painter, const QPolygon& arrow, QPoint cell) {
  painter.setBrush(QColor(255, 255, 0, 200));
  painter.drawPolygon(arrow.translated(cell));
  painter.setBrush(QColor(176, 14, 26, 250));
  painter.drawPolygon(arrow.translated(cell + QPoint(0, kCurveCellSize)));
}

}  // namespace

QColor CurvePointColour(int point) {
  QColor colour(kPointRgb[static_cast<std::size_t>(point)]);
  colour.setAlpha(kPointAlpha);
  return colour;
}

QString CurvePointName(int point) {
  if (point == 0) return QStringLiteral("H");
  if (point == 1) return QStringLiteral("L");
  return QString::number(point - 1);
}

QImage DrawCurveMarkerSheet() {
  QImage sheet = TransparentImage(240, kCurveCellSize * kCurvePointCount);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(MakeFont(QStringLiteral("Arial Bold"), 12, kFontBold));
  for (int point = 0; point < kCurvePointCount; ++point) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(CurvePointColour(point));
    painter.drawEllipse(QRect(4, kCurveCellSize * point + 4, 16, 16));  // the resting marker's core
    for (int frame = 0; frame < kCurveMarkerFrames; ++frame) DrawMarkerCell(painter, point, frame);
  }
  return sheet;
}

QImage DrawCurveArrowSheet() {
  QImage sheet = TransparentImage(96, 96);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const QPolygon left({{2, 12}, {11, 2}, {11, 7}, {21, 7}, {21, 16}, {11, 16}, {11, 21}, {2, 12}});
  const QPolygon right({{2, 7}, {12, 7}, {12, 2}, {21, 12}, {12, 21}, {12, 16}, {2, 16}, {2, 7}});
  FillArrow(painter, left, QPoint(0, 0));
  FillArrow(painter, right, QPoint(kCurveCellSize, 0));
  return sheet;
}

QImage DrawCurvePassCaption() {
  QImage caption = TransparentImage(512, 64);
  QPainter painter(&caption);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(MakeFont(QStringLiteral("Arial Bold"), 48, kFontBold));
  painter.setPen(QColor(255, 255, 255, 128));
  painter.drawText(QRect(0, 0, 512, 64), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QStringLiteral("EQ PASS"));
  return caption;
}

}  // namespace rmt4::ui
