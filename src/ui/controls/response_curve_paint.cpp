// Drawing of the response-curve editor: the grid layer (redrawn only on
// resize) and, on every frame, the curves, markers and texts over a copy of it.
#include <QPainter>
#include <QPaintEvent>

#include <array>

#include "ui/controls/response_curve.h"
#include "ui/controls/response_curve_caption.h"
#include "ui/controls/text_format.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

/// A vertical grid line, with its label when it has one.
struct FrequencyGridLine {
  double hz;
  const char* label;
};

constexpr FrequencyGridLine kFrequencyGrid[] = {
    {19, "20"},   {30, ""},     {40, ""},     {50, "50"},   {60, ""},    {70, ""},      {80, ""},
    {90, ""},     {100, "100"}, {200, "200"}, {300, ""},    {400, ""},   {500, "500"},  {600, ""},
    {700, ""},    {800, ""},    {900, ""},    {1000, "1K"}, {2000, "2K"}, {3000, ""},   {4000, ""},
    {5000, "5K"}, {6000, ""},   {7000, ""},   {8000, ""},   {9000, ""},  {10000, "10K"}, {20600, "20KHz "},
};

/// Grid rows 0, 2, 4 and 6 carry these levels whatever the axis limits.
constexpr std::array<double, 4> kLevelLabels{12, 0, -12, -24};
constexpr int kLevelLabelGap = 5;
constexpr int kFrequencyLabelGap = 2;
constexpr int kGridRows = 6;

const QColor kShadeOutline(255, 255, 255, 25);
const QColor kShadeFill(255, 255, 255, 50);
const QColor kMenuHighlight(255, 255, 50);
constexpr double kShadeTension = 0.5;
/// Where "EQ PASS" sits: left of the plot's middle and above its bottom.
constexpr int kPassLeftOfMiddle = 64;
constexpr int kPassAboveBottom = 70;
constexpr QRect kPassCell(0, 0, 448, 64);
/// Markers are drawn two pixels left of their hit box.
constexpr int kMarkerLeftOfColumn = 14;
/// Gap between a marker and its caption.
constexpr int kCaptionGap = 12;
constexpr int kCaptionBleed = 2;

QFont CaptionFont(double scale) { return MakeFont(QStringLiteral("Arial Bold"), 12 * scale, kFontBold); }

QImage ClientImage(QSize size) {
  if (size.isEmpty()) return {};
  return QImage(size, QImage::Format_RGB32);  // opaque: copies to the screen need no blending
}

/// `text` centred in `box`, which is its measured size or larger.
void DrawTextBox(QPainter& painter, const QRectF& box, const QString& text) {
  painter.drawText(box, Qt::AlignCenter | Qt::TextDontClip | Qt::TextSingleLine, text);
}

}  // namespace

void ResponseCurve::RecreateLayers() {
  gridLayer_ = ClientImage(size());
  frame_ = ClientImage(size());
  gridValid_ = false;
  DrawGridLayer();
}

void ResponseCurve::DrawGridLayer() {
  if (gridValid_ || gridLayer_.isNull()) return;
  gridValid_ = true;
  const CurveGeometry& g = geometry_;
  if (backgroundImage.isNull()) gridLayer_.fill(Qt::black);
  QPainter painter(&gridLayer_);
  if (!backgroundImage.isNull()) painter.drawImage(gridLayer_.rect(), backgroundImage);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const QPen gridPen(gridColour, 1);
  const QFont labelFont = MakeFont(QStringLiteral("Times New Roman"), 12);
  painter.setFont(labelFont);
  for (int n = 0; n <= kGridRows; ++n) {
    const int y = g.GridRow(n);
    painter.setPen(gridPen);
    // Half a pixel in: Qt's pixel centres lie there, so 1-px lines stay crisp.
    painter.drawLine(QPointF(g.plotLeft, y + 0.5), QPointF(g.plotRight(), y + 0.5));
    if (n % 2 != 0) continue;
    const QString label = CurveLevelLabel(kLevelLabels[static_cast<std::size_t>(n / 2)]);
    const QSizeF size = MeasureText(labelFont, label);
    const int bottom = y + static_cast<int>(size.height()) / 2;
    painter.setPen(textColour);
    DrawTextBox(painter, QRectF(g.plotLeft - kLevelLabelGap - size.width(), bottom - size.height(), size.width(),
                                size.height()), label);
  }
  for (const FrequencyGridLine& line : kFrequencyGrid) {
    const int x = g.plotLeft + g.ColumnOf(line.hz);
    painter.setPen(gridPen);
    painter.drawLine(QPointF(x + 0.5, g.plotTop), QPointF(x + 0.5, g.plotBottom()));
    const QString label = QString::fromLatin1(line.label);
    if (label.isEmpty()) continue;
    const QSizeF size = MeasureText(labelFont, label);
    const double right = x + static_cast<int>(size.width()) / 2;
    painter.setPen(textColour);
    DrawTextBox(painter, QRectF(right - size.width(), g.plotBottom() + kFrequencyLabelGap, size.width(), size.height()),
                label);
  }
}

void ResponseCurve::ComposeRegion(const QRegion& region) {
  const QRect box = MarkerBox(selectedPoint_) & rect();
  // Anything but the pulse's own repaint may show a change: the kept pictures are stale then.
  if (region != QRegion(box)) {
    pulseCells_.Clear();
    Compose(region.boundingRect());
    return;
  }
  if (const QImage* cell = pulseCells_.Find(box, animationPhase_)) {
    QPainter painter(&frame_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(box.topLeft(), *cell);
    return;
  }
  Compose(box);
  if (initialised_) pulseCells_.Keep(box, animationPhase_, frame_.copy(box));
}

void ResponseCurve::Compose(const QRect& area) {
  if (!initialised_) return;
  if (recomputeAll_) {
    recomputeAll_ = false;
    RecomputeAllPoints();  // leaves point 14's row as the selected curve
  }
  if (frame_.isNull()) return;
  DrawGridLayer();
  QPainter painter(&frame_);
  // The marker's pulse repaints its box only: the rest of the frame stays as composed.
  painter.setClipRect(area);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, gridLayer_);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  const CurveGeometry& g = geometry_;
  painter.save();
  painter.setClipRect(QRect(g.plotLeft, g.plotTop, g.width, g.height), Qt::IntersectClip);
  if (showEditingAids) DrawShadedArea(painter);
  BuildCurvePolyline(totalCurve_, g, polyline_);
  StrokeTwoPixels(painter, polyline_, curveColour, false);
  painter.restore();

  if (!eqActive) {
    painter.drawImage(QPoint(g.width / 2 - kPassLeftOfMiddle, g.plotBottom() - kPassAboveBottom), passCaption_,
                      kPassCell);
  }
  if (showEditingAids) {
    DrawQHandles(painter);
    DrawMarkers(painter);
  }
  DrawCaption(painter, area);
  if (menuEnabled && menuState_ > 0) DrawMenu(painter);
}

void ResponseCurve::DrawShadedArea(QPainter& painter) {
  const CurveGeometry& g = geometry_;
  BuildCurvePolyline(selectedCurve_, g, polyline_);
  const int below = 2 * g.plotBottom();  // far enough below the plot to close the area under a cut
  const int zero = g.zeroRow;
  QPolygon& area = shadedArea_;
  area.clear();
  if (selectedPoint_ == kHpfPoint) {
    if (polyline_.size() < 3) return;
    area << QPoint(g.plotLeft, below) << polyline_ << QPoint(g.plotRight() - 1, zero) << QPoint(g.plotRight(), zero)
         << QPoint(g.plotRight(), below);
  } else if (selectedPoint_ == kLpfPoint) {
    if (polyline_.size() < 3) return;
    area << QPoint(g.plotLeft, below) << QPoint(g.plotLeft, zero) << QPoint(g.plotLeft + 1, zero);
    for (qsizetype i = 1; i < polyline_.size(); ++i) area << polyline_[i];
    area << QPoint(polyline_.back().x(), below);
  } else {
    area << QPoint(g.plotLeft, zero) << polyline_ << QPoint(g.plotRight(), zero);
  }
  FlattenSmoothClosedCurve(area, kShadeTension, smoothArea_);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kShadeFill);
  // Filled without anti-aliasing: Qt's anti-aliased fill of this long, thin
  // area costs half a millisecond per drag step, and the anti-aliased outline
  // drawn over its edge hides the difference.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawPolygon(smoothArea_, Qt::WindingFill);
  painter.setRenderHint(QPainter::Antialiasing, true);
  StrokeTwoPixels(painter, area, kShadeOutline, true);
}

void ResponseCurve::StrokeTwoPixels(QPainter& painter, const QPolygon& points, const QColor& colour, bool closed) {
  QPen pen(colour, 1);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (const double side : {-0.5, 0.5}) {
    OffsetPolyline(points, side, closed, strokeSide_);
    if (closed) {
      painter.drawPolygon(strokeSide_);
    } else {
      painter.drawPolyline(strokeSide_);
    }
  }
}

void ResponseCurve::DrawQHandles(QPainter& painter) const {
  const int p = selectedPoint_;
  if (!pointEnabled[p] || !pointHasQ[p] || !showQHandles || !IsBand(p)) return;
  const int distance = QHandleDistance(pointQ[p]);
  const QPoint corner = MarkerCentre(p) - QPoint(kCurveCellSize / 2, kCurveCellSize / 2);
  painter.drawImage(corner - QPoint(distance, 0), arrowSheet_,
                    QRect(0, kCurveCellSize * int{leftHandleActive_}, kCurveCellSize, kCurveCellSize));
  painter.drawImage(corner + QPoint(distance, 0), arrowSheet_,
                    QRect(kCurveCellSize, kCurveCellSize * int{rightHandleActive_}, kCurveCellSize, kCurveCellSize));
}

QRect ResponseCurve::MarkerBox(int point) const {
  return QRect(MarkerCentre(point) - QPoint(kMarkerLeftOfColumn, kCurveCellSize / 2),
               QSize(kCurveCellSize, kCurveCellSize));
}

void ResponseCurve::DrawMarkers(QPainter& painter) const {
  for (int k = 0; k < kCurvePointCount; ++k) {
    if (!pointEnabled[k]) continue;
    const int frame = k == selectedPoint_ ? animationPhase_ : 0;
    painter.drawImage(MarkerBox(k).topLeft(), markerSheet_,
                      QRect(kCurveCellSize * frame, kCurveCellSize * k, kCurveCellSize, kCurveCellSize));
  }
}

void ResponseCurve::DrawCaption(QPainter& painter, const QRect& area) {
  const int p = labelledPoint_;
  if (!pointEnabled[p]) return;
  const CurveGeometry& g = geometry_;
  if (captionFontScale_ != scale) {
    captionFont_ = CaptionFont(scale);
    captionFontScale_ = scale;
    captionText_.clear();
  }
  const QString text = CaptionOf(p);
  if (text != captionText_) {
    captionText_ = text;
    captionSize_ = MeasureText(captionFont_, text);
  }
  const QSizeF size = captionSize_;
  // The caption stands under the marker's column taken as a client x, kept inside the plot.
  double x = pointX[p];
  double y = g.zeroRow + pointY[p] + kCaptionGap;
  if (g.plotLeft > x) x = g.plotLeft + kCaptionGap;
  if (x + size.width() > g.plotRight()) x = g.plotRight() - size.width() - kCaptionGap;
  if (y + size.height() > g.plotBottom()) y = g.zeroRow + pointY[p] - size.height() - kCaptionGap;
  const QRectF box(QPointF(x, y), size);
  // Sideways, anti-aliased glyphs may reach past their advance; up and down
  // they stay within the font's height, so the caption just under or over the
  // pulsing marker lies outside its box.
  if (!box.adjusted(-kCaptionBleed, 0, kCaptionBleed, 0).intersects(area)) return;
  painter.setFont(captionFont_);
  painter.setPen(Qt::white);
  DrawTextBox(painter, box, text);
}

void ResponseCurve::DrawMenu(QPainter& painter) const {
  painter.setFont(CaptionFont(scale));
  for (const int item : {1, 2}) {
    const QRect box = item == 1 ? copyRect_ : pasteRect_;
    painter.fillRect(box, menuState_ == item ? kMenuHighlight : QColor(Qt::white));
    painter.setPen(Qt::black);
    DrawTextBox(painter, box, item == 1 ? QStringLiteral("Copy") : QStringLiteral("Paste"));
  }
}

void ResponseCurve::PaintInto(QPainter& parentPainter) {
  ComposeRegion(rect());
  if (!frame_.isNull()) parentPainter.drawImage(pos(), frame_);
}

void ResponseCurve::paintEvent(QPaintEvent* event) {
  ComposeRegion(event->region());
  QPainter painter(this);
  if (frame_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.drawImage(0, 0, frame_);
}

}  // namespace rmt4::ui
