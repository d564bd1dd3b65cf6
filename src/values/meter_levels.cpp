#include "values/meter_levels.h"

#include <algorithm>
#include <limits>

namespace rmt4 {

MeterLevels MeterLevelsFromWord(std::uint16_t word) { return {word & 0x0F, (word >> 4) & 0x0F}; }

double MeterDbfs(int segments) {
  if (segments <= 0) return -std::numeric_limits<double>::infinity();
  // Below full scale by whole segments; written so that full scale is 0, not -0.
  return kMeterSegmentDb * (std::min(segments, kMeterSegments) - kMeterSegments);
}

}  // namespace rmt4
