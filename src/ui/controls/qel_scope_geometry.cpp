#include "ui/controls/qel_scope_geometry.h"

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
/// The right arrow's drag origin lies this far right of the marker.
constexpr int kRightHandleOffset = 48;

/// Tension of the console's curves: the share of the neighbours' difference
/// that places each Bezier control point.
constexpr double kTensionScale = 0.3;

int ClampedQIndex(double index) {
  return static_cast<int>(std::clamp(std::trunc(index), 0.0, static_cast<double>(kLastQIndex)));
}

}  // namespace

ScopeGeometry ScopeGeometry::ForClient(QSize client, int dbMax, int dbMin) {
  ScopeGeometry g;
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

int ScopeGeometry::GridRow(int n) const { return static_cast<int>(plotTop + n * height / 6.0); }

int ScopeGeometry::OffsetOfGain(double tenths) const {
  const double span = static_cast<double>(dbMax) - dbMin;
  return span != 0.0 ? -static_cast<int>(tenths * height / span) : 0;
}

int ScopeGeometry::GainOfOffset(int offset) const {
  const double span = static_cast<double>(dbMax) - dbMin;
  if (span == 0.0) return dbMax;
  const double aboveZero = std::abs(dbMax) * height / span;
  if (offset <= static_cast<int>(-aboveZero)) return dbMax;
  if (offset >= static_cast<int>(height - aboveZero)) return dbMin;
  // H − 1 rows span the axis, as the band response reads them; a one-row plot still divides by one.
  const double db = std::clamp(-offset * span / std::max(height - 1, 1), static_cast<double>(dbMin), static_cast<double>(dbMax));
  return static_cast<int>(db + 0.5);
}

int QHandleDistance(double q) {
  const double whole = std::trunc(q);
  int index = 1;
  while (index < kLastQIndex && QStepTable[static_cast<std::size_t>(index)] < whole) ++index;
  return static_cast<int>(100.0 - (index - 1) * kHandleStep + 24.0);
}

int QIndexOfLeftHandle(int column, int pointerX) {
  return ClampedQIndex(101.0 - kHandleDragStep * (column - pointerX));
}

int QIndexOfRightHandle(int column, int pointerX) {
  return ClampedQIndex(101.0 - kHandleDragStep * (pointerX - column - kRightHandleOffset));
}

void BuildCurvePolyline(std::span<const int> curve, const ScopeGeometry& geometry, QPolygon& points) {
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

QPainterPath SmoothClosedPath(const QPolygon& points, double tension) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  const qsizetype count = points.size();
  if (count < 2) return path;
  const double share = tension * kTensionScale;
  auto at = [&](qsizetype i) { return QPointF(points[(i + count) % count]); };
  path.moveTo(at(0));
  for (qsizetype i = 0; i < count; ++i) {
    const QPointF from = at(i);
    const QPointF to = at(i + 1);
    path.cubicTo(from + share * (to - at(i - 1)), to - share * (at(i + 2) - from), to);
  }
  path.closeSubpath();
  return path;
}

}  // namespace rmt4::ui
