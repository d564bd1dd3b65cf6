#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

#include "dsp/band_field_steps.h"

namespace rmt4::ui {

/// Where the EQ band panel's parts lie at a given client size: the 98 × 250
/// skin layout scaled by W/98 across and H/250 down (integer division, as
/// every host lays its panels out with it).
struct BandPanelLayout {
  /// The layout at client size `size`.
  [[nodiscard]] static BandPanelLayout ForSize(QSize size);

  /// The thumb centre's row for `gain` (clamped into `gains`).
  [[nodiscard]] int GainY(double gain, const GainRange& gains) const;
  /// The gain at row `y`, in tenths of a dB toward zero, within `gains`;
  /// the bottom of the range when the axis has no height.
  [[nodiscard]] double GainAtY(int y, const GainRange& gains) const;
  /// Whether `at` lies on the thumb drawn at row `gainY` (edges included).
  [[nodiscard]] bool OnThumb(QPoint at, int gainY) const;
  /// Whether `at` lies in the thumb's column, between the ends of its travel.
  [[nodiscard]] bool InThumbTravel(QPoint at) const;

  int axisX = 80;
  int yAtMin = 209;  ///< the thumb's centre row at the bottom of the gain range
  int yAtMax = 40;   ///< and at its top
  int thumbW = 16;
  int thumbH = 26;
  /// The entry fields: gain, frequency, Q.
  std::array<QRect, 3> fields;
  /// The band-type buttons: peaking, high shelf, low shelf.
  std::array<QRect, 3> typeButtons;
  /// Where the type buttons' picture is drawn (it covers all three).
  QRect typeImage;
  QRect numberBox;
  /// The band number's pixel size.
  int numberFontSize = 12;
};

}  // namespace rmt4::ui
