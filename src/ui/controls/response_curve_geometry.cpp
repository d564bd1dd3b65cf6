#include "ui/controls/response_curve_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dsp/step_tables.h"

namespace rmt4::ui {
namespace {

constexpr int kLastQIndex = static_cast<int>(QStepTable.size()) - 1;
/// Arrow distance at the lowest Q, and how much closer each Q step brings it.
constexpr double kWidestHandleDistance = 124.0;
constexpr double kHandleStep = 0.9900990099009901;
/// Arrow travel per Q step when dragging.
constexpr double kHandleDragStep = 1.01;

/// Tension of the console's curves: the share of the neighbours' difference
/// that places each Bezier control point.
constexpr double kTensionScale = 0.3;
/// Flattening of the smooth curve: pixels per straight piece, and a bound on the pieces of one segment.
constexpr double kFlatPieceLength = 4.0;
constexpr int kMaxFlatPieces = 64;

int ClampedQIndex(double index) {
  return static_cast<int>(std::clamp(std::trunc(index), 0.0, static_cast<double>(kLastQIndex)));
}

}  // namespace

CurveGeometry CurveGeometry::ForClient(QSize client, int dbMax, int dbMin) {
  CurveGeometry g;
  g.client = client;
  g.width = std::max(0, client.width() - kInsetLeft - kInsetRight);
  g.height = std::max(0, client.height() - kInsetTop - kInsetBottom);
  g.dbMax = dbMax;
  g.dbMin = dbMin;
  const double span = static_cast<double>(dbMax) - dbMin;
  // Coinciding limits have no scale: the 0-dB row is the plot top.
  g.zeroY = span != 0.0 ? g.plotTop + std::abs(dbMax) * g.height / span : g.plotTop;
  g.zeroRow = static_cast<int>(g.zeroY);
  return g;
}

int CurveGeometry::GridRow(int n) const { return static_cast<int>(plotTop + n * height / 6.0); }

int CurveGeometry::OffsetOfGain(double tenths) const {
  const double span = static_cast<double>(dbMax) - dbMin;
  return span != 0.0 ? -static_cast<int>(tenths * height / span) : 0;
}

int CurveGeometry::GainOfOffset(int offset) const {
  const double span = static_cast<double>(dbMax) - dbMin;
  if (span == 0.0) return dbMax;
  const double aboveZero = std::abs(dbMax) * height / span;
  if (offset <= static_cast<int>(-aboveZero)) return dbMax;
  if (offset >= static_cast<int>(height - aboveZero)) return dbMin;
  // H − 1 rows span the axis, as the band response reads them. With H ≤ 1 the
  // two limits above meet, so this never divides by zero.
  const double db = -offset * span / (height - 1);
  return static_cast<int>(std::min(std::max(db, static_cast<double>(dbMin)), static_cast<double>(dbMax)) + 0.5);
}

int QHandleDistance(double q) {
  const double whole = std::trunc(q);
  int index = 1;
  while (index < kLastQIndex && QStepTable[static_cast<std::size_t>(index)] < whole) ++index;
  return static_cast<int>(100.0 - (index - 1) * kHandleStep + 24.0);
}

int QIndexAfterHandleMove(int startIndex, bool leftHandle, int movedBy) {
  return ClampedQIndex(startIndex + std::trunc(kHandleDragStep * (leftHandle ? movedBy : -movedBy)));
}

void BuildCurvePolyline(std::span<const int> curve, const CurveGeometry& geometry, QPolygon& points) {
  points.clear();
  if (curve.empty()) return;
  const int left = geometry.plotLeft;
  const int zero = geometry.zeroRow;
  points.append(QPoint(left, zero + curve[0]));
  const std::size_t last = curve.size() - 1;
  for (std::size_t i = 1; i < last; ++i) {
    const int y = zero + curve[i];
    if (y != points.back().y()) points.append(QPoint(left + static_cast<int>(i), y));
  }
  if (last > 0) points.append(QPoint(left + static_cast<int>(last), zero + curve[last]));
}

void FlattenSmoothClosedCurve(const QPolygon& points, double tension, QPolygonF& curve) {
  curve.clear();
  const qsizetype count = points.size();
  if (count < 2) return;
  const double share = tension * kTensionScale;
  auto at = [&](qsizetype i) { return QPointF(points[(i + count) % count]); };
  for (qsizetype i = 0; i < count; ++i) {
    // The Bezier segment from point i to i + 1 with the cardinal spline's control points.
    const QPointF p0 = at(i);
    const QPointF p3 = at(i + 1);
    const QPointF p1 = p0 + share * (p3 - at(i - 1));
    const QPointF p2 = p3 - share * (at(i + 2) - p0);
    const double length = std::abs(p3.x() - p0.x()) + std::abs(p3.y() - p0.y());
    const int pieces = std::clamp(static_cast<int>(length / kFlatPieceLength), 1, kMaxFlatPieces);
    curve.append(p0);
    for (int k = 1; k < pieces; ++k) {
      const double t = static_cast<double>(k) / pieces;
      const double u = 1.0 - t;
      curve.append(u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3);
    }
  }
}

void OffsetPolyline(const QPolygon& points, double distance, bool closed, QPolygonF& offset) {
  offset.clear();
  const qsizetype count = points.size();
  for (qsizetype i = 0; i < count; ++i) {
    const qsizetype before = closed ? (i + count - 1) % count : std::max<qsizetype>(i - 1, 0);
    const qsizetype after = closed ? (i + 1) % count : std::min(i + 1, count - 1);
    const QPointF along = QPointF(points[after] - points[before]);
    const double length = std::sqrt(along.x() * along.x() + along.y() * along.y());
    const QPointF normal = length > 0.0 ? QPointF(-along.y(), along.x()) / length : QPointF(0.0, 1.0);
    offset.append(QPointF(points[i]) + distance * normal);
  }
}

}  // namespace rmt4::ui
