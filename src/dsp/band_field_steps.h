#pragma once

#include <array>
#include <cstddef>

#include "dsp/band_field_text.h"
#include "dsp/step_tables.h"

namespace rmt4 {

/// The band panel's frequency grid: FrequencyStepTable with 10.5 Hz instead
/// of 19 Hz as its lowest entry.
inline constexpr std::array<double, FrequencyStepTable.size()> BandFrequencyStepTable = [] {
  auto table = FrequencyStepTable;
  table.front() = 10.5;
  return table;
}();

/// The gain fader's range and the size of one gain step, in dB.
struct GainRange {
  double min = -24.0;
  double max = 12.0;
  double step = 0.1;
};

/// `value` of `field` moved by the sign of `delta` (−, 0, +):
/// - gain: one `gains.step` up or down, clamped into the range;
/// - frequency and Q: the grid entry at or above `value` (the lowest one
///   below the grid, the highest one above it), moved one entry and kept on
///   the grid (BandFrequencyStepTable, QStepTable); from a value between two
///   entries one step up is the entry above it.
/// Delta 0 therefore snaps the frequency and Q up onto the grid and clamps the gain.
[[nodiscard]] double StepBandField(BandField field, double value, int delta, const GainRange& gains);

}  // namespace rmt4
