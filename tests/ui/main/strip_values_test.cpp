// Level steps and the level read-out's format, on their own.
#include <gtest/gtest.h>

#include "values/level_table.h"
#include "ui/main/strip_texts.h"

namespace rmt4::ui {
namespace {

TEST(StripValues, LevelTableSegmentsMeetWithoutGapsOrRepeats) {
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

TEST(StripValues, LevelTextPrecisionChangesAtMinusForty) {
  // The strips' tests show the common levels; these are the edges of the format.
  EXPECT_EQ(LevelText(805).toStdString(), "-39.5dB");
  EXPECT_EQ(LevelText(800).toStdString(), "-40.0dB");
  EXPECT_EQ(LevelText(780).toStdString(), "-42dB");
  EXPECT_EQ(LevelText(20).toStdString(), "-118dB");
  EXPECT_EQ(LevelText(795).toStdString(), "-40.5dB");  // between whole dB: the tenth is kept
  EXPECT_EQ(LevelText(0x8000 | 1200).toStdString(), "0.0dB");  // bit 15 is no level
}

}  // namespace
}  // namespace rmt4::ui
