#include "dsp/plot_axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rmt4 {

namespace {

/// Decades spanned by the axis.
double AxisDecades() {
  return std::log10(kAxisMaxHz / kAxisMinHz);
}

}  // namespace

double AngularFrequency(double hz) {
  return hz * kTwoPi / kSampleRateHz;
}

double FrequencyAtColumn(double x, int width) {
  if (width <= 0) {
    return kAxisMinHz;
  }
  return kAxisMinHz * std::pow(10.0, x * AxisDecades() / width);
}

int ColumnOfFrequency(double hz, int width) {
  if (width <= 0) {
    return 0;
  }
  const double farLeft = -static_cast<double>(width);
  const double farRight = std::min(2.0 * width, double{std::numeric_limits<int>::max()});
  if (std::isnan(hz) || hz <= 0.0) {
    return static_cast<int>(farLeft);
  }
  const double column = std::log10(hz / kAxisMinHz) / AxisDecades() * width;
  return static_cast<int>(std::clamp(column, farLeft, farRight));
}

double PixelOffsetOfDb(double db, const PlotGeometry& plot) {
  if (plot.dbMax == plot.dbMin) {
    return 0.0;
  }
  // In doubles: the int difference of extreme limits would overflow.
  const double axisSpan = static_cast<double>(plot.dbMax) - plot.dbMin;
  return db * plot.height * -10.0 / axisSpan;
}

}  // namespace rmt4
