// Level steps, read-out texts and the meter word, on their own.
#include <gtest/gtest.h>

#include "ui/main/level_table.h"
#include "ui/main/strip_mapping.h"
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

TEST(StripValues, ConsoleLevelFindsTheLowestStepThatReachesIt) {
  EXPECT_EQ(FaderStepForLevel(0), 0);
  EXPECT_EQ(FaderStepForLevel(1001), 81);  // between 1000 and 1002
  EXPECT_EQ(FaderStepForLevel(1200), 180);
  EXPECT_EQ(FaderStepForLevel(0x8000 | 1200), 180);  // bit 15 is a flag
  EXPECT_EQ(FaderStepForLevel(1300), 280);
  EXPECT_EQ(FaderStepForLevel(1301), std::nullopt);  // above the strip fader's top
}

TEST(StripValues, LevelTextsAcrossTheScale) {
  EXPECT_EQ(LevelText(0).toStdString(), "- \u221E");
  EXPECT_EQ(LevelText(180).toStdString(), "0.0dB");
  EXPECT_EQ(LevelText(280).toStdString(), "10.0dB");
  EXPECT_EQ(LevelText(40).toStdString(), "-40.0dB");
  EXPECT_EQ(LevelText(41).toStdString(), "-39.5dB");
  EXPECT_EQ(LevelText(39).toStdString(), "-42dB");  // whole dB below -40
  EXPECT_EQ(LevelText(1).toStdString(), "-118dB");
  EXPECT_EQ(LevelText(180.9).toStdString(), "0.0dB");  // the step is truncated
}

TEST(StripValues, PanTexts) {
  EXPECT_EQ(PanText(100).toStdString(), "L = R");
  EXPECT_EQ(PanText(40).toStdString(), "L 60%");
  EXPECT_EQ(PanText(0).toStdString(), "L 100%");
  EXPECT_EQ(PanText(150).toStdString(), "R 50%");
  EXPECT_EQ(PanText(200).toStdString(), "R 100%");
}

TEST(StripValues, MeterWordSplitsIntoTwoNibbles) {
  const MeterLevels levels = MeterLevelsFromWord(0x3C);
  EXPECT_EQ(levels.left, 12);
  EXPECT_EQ(levels.right, 3);
  EXPECT_EQ(MeterLevelsFromWord(0xFF0F).left, 15);
  EXPECT_EQ(MeterLevelsFromWord(0xFF0F).right, 0);
}

}  // namespace
}  // namespace rmt4::ui
