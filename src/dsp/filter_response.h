#pragma once

#include <vector>

#include "dsp/cut_catalogue.h"
#include "dsp/plot_axis.h"

namespace rmt4 {

/// EQ band types as the device stores them; any other value draws as peaking.
inline constexpr int kHighShelfBand = 5;
inline constexpr int kLowShelfBand = 6;
inline constexpr int kPeakingBand = 7;

/// The editor's high-pass and low-pass points as a cut filter sees them.
/// A high-pass is off below 19.7 Hz and above hpfMaxHz (on at it); a low-pass
/// is off below 19.7 Hz and at or above lpfMaxHz.
struct CutFilterPoints {
  double hpfHz = kAxisMinHz;
  double lpfHz = kAxisMaxHz;
  double hpfQ = 1.5;
  double lpfQ = 1.5;
  double hpfMaxHz = kAxisMaxHz;
  double lpfMaxHz = kAxisMaxHz;
};

// Both responses return one pixel offset per plot column (positive downward
// from the 0-dB line), or an empty row when plot.width is not in
// 1..kMaxPlotWidth. Off filters, flat codes and plots without a vertical scale
// give a row of zeros.

/// Response of the cut filter that code stands for (high- or low-pass).
[[nodiscard]] std::vector<double> CutResponse(CutTypeCode code, const CutFilterPoints& points,
                                              const PlotGeometry& plot);

/// Response of an EQ band whose marker sits at column x and y pixels below
/// the 0-dB line; the band is designed from that position, not from its stored
/// frequency and gain. Type 5 is a high shelf, 6 a low shelf, anything else
/// peaking. The band's cut or boost is limited to 120 dB, far beyond any plot,
/// to keep the design finite. A plot less than two pixels high gives zeros.
[[nodiscard]] std::vector<double> BandResponse(int type, int x, int y, double q,
                                               const PlotGeometry& plot);

}  // namespace rmt4
