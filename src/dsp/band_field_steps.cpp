#include "dsp/band_field_steps.h"

#include <algorithm>

namespace rmt4 {
namespace {

/// The entry `delta` steps away from the first entry at or above `value`,
/// within the table; from a value between two entries, the one above is the step up.
template <typename Table>
double StepOnGrid(const Table& table, double value, int delta) {
  const auto last = static_cast<std::ptrdiff_t>(table.size()) - 1;
  const std::ptrdiff_t at = std::min<std::ptrdiff_t>(std::ranges::lower_bound(table, value) - table.begin(), last);
  const bool between = value > table.front() && table[static_cast<std::size_t>(at)] > value;
  const std::ptrdiff_t step = delta > 0 ? (between ? 0 : 1) : (delta < 0 ? -1 : 0);
  return table[static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(at + step, 0, last))];
}

}  // namespace

double StepBandField(BandField field, double value, int delta, const GainRange& gains) {
  switch (field) {
    case BandField::kFrequency:
      return StepOnGrid(BandFrequencyStepTable, value, delta);
    case BandField::kQ:
      return StepOnGrid(QStepTable, value, delta);
    case BandField::kGain:
      break;
  }
  const double moved = delta > 0 ? value + gains.step : (delta < 0 ? value - gains.step : value);
  return std::clamp(moved, gains.min, gains.max);
}

}  // namespace rmt4
