#pragma once

namespace rmt4 {

/// Every filter design assumes the console's sample rate.
inline constexpr double kSampleRateHz = 48000.0;
/// The console's own value of 2*pi; curves match the device's only with it.
inline constexpr double kTwoPi = 6.28318530717958;

/// Ends of the logarithmic frequency axis.
inline constexpr double kAxisMinHz = 19.0;
inline constexpr double kAxisMaxHz = 20600.0;

/// Widest plot a response row is computed for; wider requests get no row.
inline constexpr int kMaxPlotWidth = 16384;

/// The plot a response row is drawn into: width and height in pixels, the
/// vertical axis limits in tenths of a dB.
struct PlotGeometry {
  int width = 0;
  int height = 0;
  int dbMax = 120;
  int dbMin = -240;
};

/// Angular frequency in radians per sample of hz at kSampleRateHz.
[[nodiscard]] double AngularFrequency(double hz);

/// Frequency that plot column x stands for: 19 Hz at column 0, 20600 Hz at
/// column width. A plot without width stands at 19 Hz.
[[nodiscard]] double FrequencyAtColumn(double x, int width);

/// Column where hz lies, truncated toward zero. Frequencies more than one plot
/// width off either side (including 0 Hz and NaN, which have no place on a
/// logarithmic axis) land one width off that side; a plot without width
/// gives column 0.
[[nodiscard]] int ColumnOfFrequency(double hz, int width);

/// Vertical pixel offset of a level of db dB from the 0-dB line, positive
/// downward. A plot whose axis limits coincide has no vertical scale: 0.
[[nodiscard]] double PixelOffsetOfDb(double db, const PlotGeometry& plot);

}  // namespace rmt4
