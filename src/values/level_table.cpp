#include "values/level_table.h"

#include <algorithm>
#include <cmath>

namespace rmt4 {
namespace {

constexpr long kZeroDbLevel = 1200;

}  // namespace

std::uint16_t LevelAtStep(int step) {
  return LevelTable[static_cast<std::size_t>(std::clamp(step, 0, static_cast<int>(kLevelTableSize) - 1))];
}

std::optional<int> FaderStepForLevel(std::uint16_t raw) {
  const std::uint16_t level = raw & kLevelMask;
  const auto end = LevelTable.begin() + kStripFaderTop + 1;
  const auto found = std::lower_bound(LevelTable.begin(), end, level);
  if (found == end) return std::nullopt;
  return static_cast<int>(found - LevelTable.begin());
}

int ZeroDbStep() { return *FaderStepForLevel(static_cast<std::uint16_t>(kZeroDbLevel)); }

double LevelDb(std::uint16_t raw) { return ((raw & kLevelMask) - kZeroDbLevel) / 10.0; }

std::uint16_t LevelRaw(double db) {
  return static_cast<std::uint16_t>(std::clamp(std::lround(db * 10) + kZeroDbLevel, 0L, long{kLevelMask}));
}

}  // namespace rmt4
