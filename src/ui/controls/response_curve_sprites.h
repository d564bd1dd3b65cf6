#pragma once

#include <QColor>
#include <QImage>

namespace rmt4::ui {

/// Number of points of the response-curve editor (HPF, LPF, bands 1..13).
inline constexpr int kCurvePointCount = 15;
/// Side of one marker or arrow cell in its sheet.
inline constexpr int kCurveCellSize = 24;
/// Marker cells per point: 0 resting, 1..5 the pulsing frames of the selected point.
inline constexpr int kCurveMarkerFrames = 6;

/// Marker colour of point k (translucent), for the markers and their captions.
[[nodiscard]] QColor CurvePointColour(int point);

/// Caption of point k on its marker: "H", "L" or the band number.
[[nodiscard]] QString CurvePointName(int point);

/// 240×360: one 24-px row per point, six cells per row (resting marker, then
/// the animation frames).
[[nodiscard]] QImage DrawCurveMarkerSheet();

/// 96×96: the left Q arrow at x 0, the right one at x 24; the resting look at
/// y 0 (yellow), the dragged look at y 24 (dark red).
[[nodiscard]] QImage DrawCurveArrowSheet();

/// 512×64: "EQ PASS", half-transparent white.
[[nodiscard]] QImage DrawCurvePassCaption();

}  // namespace rmt4::ui
