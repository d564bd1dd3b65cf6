#include "dsp/step_snapping.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dsp/step_tables.h"

namespace rmt4 {

namespace {

/// Index of the first entry >= value, or the table size when there is none.
template <typename Table>
std::size_t FirstIndexAtOrAbove(const Table& table, double value) {
  return static_cast<std::size_t>(std::ranges::lower_bound(table, value) - table.begin());
}

}  // namespace

double SnapFrequency(double hz) {
  if (std::isnan(hz) || hz < FrequencyStepTable.front()) {
    return FrequencyStepTable.front();
  }
  if (hz > FrequencyStepTable.back()) {
    return FrequencyStepTable.back();
  }
  return FrequencyStepTable[FirstIndexAtOrAbove(FrequencyStepTable, hz)];
}

double ClampQ(double q) {
  return std::isnan(q) ? kMinQ : std::clamp(q, kMinQ, kMaxQ);
}

double SnapQ(double q) {
  return QStepTable[FirstIndexAtOrAbove(QStepTable, ClampQ(q))];
}

double StepFrequency(double hz, bool up) {
  if (std::isnan(hz)) {
    return FrequencyStepTable.front();
  }
  const std::size_t index = FirstIndexAtOrAbove(FrequencyStepTable, hz);
  if (index == FrequencyStepTable.size()) {
    return hz;
  }
  if (up) {
    return FrequencyStepTable[std::min(index + 1, FrequencyStepTable.size() - 1)];
  }
  return index >= 1 ? FrequencyStepTable[index - 1] : hz;
}

}  // namespace rmt4
