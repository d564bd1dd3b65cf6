// The fader steps' console levels.
#include "values/level_table.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(LevelTable, SegmentsMeetWithoutGapsOrRepeats) {
  EXPECT_EQ(LevelTable[0], 0);
  EXPECT_EQ(LevelTable[40], 800);
  EXPECT_EQ(LevelTable[41], 805);
  EXPECT_EQ(LevelTable[80], 1000);
  EXPECT_EQ(LevelTable[81], 1002);
  EXPECT_EQ(LevelTable[180], 1200);
  EXPECT_EQ(LevelTable[181], 1201);
  EXPECT_EQ(LevelTable[kStripFaderTop], 1300);
  EXPECT_EQ(LevelTable[299], 1319);
  for (std::size_t i = 1; i < kLevelTableSize; ++i) EXPECT_LT(LevelTable[i - 1], LevelTable[i]) << i;
  EXPECT_EQ(LevelAtStep(400), 1319);  // beyond the table: its last entry, never past it
}

}  // namespace
}  // namespace rmt4
