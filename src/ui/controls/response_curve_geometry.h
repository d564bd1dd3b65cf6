#pragma once

#include <QPolygon>
#include <QSize>

#include <span>

#include "dsp/plot_axis.h"

namespace rmt4::ui {

/// Where the response-curve editor plots, for one client size: the plot is the
/// client inset by 30 px left, 10 px top and 18 px right and bottom, W columns
/// wide and H rows high (never negative, so a tiny editor has an empty plot),
/// with the 0-dB row one third of the way down at the default limits.
struct CurveGeometry {
  static constexpr int kInsetLeft = 30;
  static constexpr int kInsetTop = 10;
  static constexpr int kInsetRight = 18;
  static constexpr int kInsetBottom = 18;

  /// Geometry of a client of `client` size with the vertical axis dbMax..dbMin (tenths of a dB).
  [[nodiscard]] static CurveGeometry ForClient(QSize client, int dbMax, int dbMin);

  QSize client;
  int plotLeft = kInsetLeft;
  int plotTop = kInsetTop;
  int width = 0;   ///< W: plot columns, also the number of curve samples
  int height = 0;  ///< H: plot rows
  int dbMax = 120;
  int dbMin = -240;
  /// The 0-dB row as a real number, and truncated (what markers and curves add).
  double zeroY = kInsetTop;
  int zeroRow = kInsetTop;

  [[nodiscard]] int plotRight() const { return plotLeft + width; }
  [[nodiscard]] int plotBottom() const { return plotTop + height; }
  [[nodiscard]] PlotGeometry Plot() const { return {width, height, dbMax, dbMin}; }
  /// Column of `hz` from the plot's left edge.
  [[nodiscard]] int ColumnOf(double hz) const { return ColumnOfFrequency(hz, width); }
  [[nodiscard]] double FrequencyAt(int column) const { return FrequencyAtColumn(column, width); }
  /// Row n (0 top .. 6 bottom) of the horizontal grid.
  [[nodiscard]] int GridRow(int n) const;
  /// Marker offset below the 0-dB line for a gain in tenths of a dB.
  [[nodiscard]] int OffsetOfGain(double tenths) const;
  /// Gain in tenths of a dB of a dragged marker `offset` rows below the 0-dB
  /// line: rounded, and the axis limits at and beyond the plot's edges.
  [[nodiscard]] int GainOfOffset(int offset) const;
};

/// Distance of a band's Q arrows from its marker. It follows only the
/// integer part of Q, so every Q below 1 shows its arrows 124 px away.
[[nodiscard]] int QHandleDistance(double q);

/// QStepTable index of a band whose Q had index `startIndex` when one of its
/// arrows was pressed, once that arrow is moved `movedBy` px to the right:
/// an arrow moved toward the marker narrows the band (higher Q), away from
/// it widens it. Not moved, the Q stays as it was.
[[nodiscard]] int QIndexAfterHandleMove(int startIndex, bool leftHandle, int movedBy);

/// The polyline of `curve` (offsets from the 0-dB row, one per column) in
/// client pixels into `points`, keeping only the points where the row
/// changes plus the last one, so that flat stretches cost one segment.
void BuildCurvePolyline(std::span<const int> curve, const CurveGeometry& geometry, QPolygon& points);

/// The smooth closed curve through `points` (cardinal spline of `tension`)
/// as a polygon into `curve`: segments longer than a few pixels are split,
/// shorter ones stay straight (their bend is far below a pixel). Qt's own
/// curve flattening costs milliseconds for a thousand points.
void FlattenSmoothClosedCurve(const QPolygon& points, double tension, QPolygonF& curve);

/// `points` moved `distance` px along the normal at each vertex (the
/// direction between its neighbours; `closed` wraps them around). Two such
/// polylines half a pixel either side draw a 2-px anti-aliased stroke with
/// Qt's fast 1-px lines, about ten times faster than a 2-px pen.
void OffsetPolyline(const QPolygon& points, double distance, bool closed, QPolygonF& offset);

}  // namespace rmt4::ui
