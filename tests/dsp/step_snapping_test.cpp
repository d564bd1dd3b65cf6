#include "dsp/step_snapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dsp/step_tables.h"

namespace rmt4 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(StepTables, SpotEntriesMatchTheDeviceGrid) {
  EXPECT_DOUBLE_EQ(FrequencyStepTable[1], 19.7);
  EXPECT_DOUBLE_EQ(FrequencyStepTable[85], 99);
  EXPECT_DOUBLE_EQ(FrequencyStepTable[86], 101);
  EXPECT_DOUBLE_EQ(FrequencyStepTable[205], 1000);
  EXPECT_DOUBLE_EQ(FrequencyStepTable[325], 10100);
  EXPECT_DOUBLE_EQ(FrequencyStepTable[361], 20200);
  EXPECT_DOUBLE_EQ(QStepTable[16], 1.0);
  EXPECT_DOUBLE_EQ(QStepTable[23], 1.5);
  EXPECT_DOUBLE_EQ(QStepTable[60], 12.7);
}

TEST(StepSnap, FrequencySnapsUpToTheGridWithinTheAxis) {
  EXPECT_DOUBLE_EQ(SnapFrequency(5), 19);
  EXPECT_DOUBLE_EQ(SnapFrequency(19), 19);
  EXPECT_DOUBLE_EQ(SnapFrequency(19.3), 19.7);
  EXPECT_DOUBLE_EQ(SnapFrequency(1000), 1000);
  EXPECT_DOUBLE_EQ(SnapFrequency(1001), 1020);
  EXPECT_DOUBLE_EQ(SnapFrequency(20600), 20600);
  EXPECT_DOUBLE_EQ(SnapFrequency(25000), 20600);
  EXPECT_DOUBLE_EQ(SnapFrequency(-1), 19);
  EXPECT_DOUBLE_EQ(SnapFrequency(kNaN), 19);
  EXPECT_DOUBLE_EQ(SnapFrequency(std::numeric_limits<double>::infinity()), 20600);
}

TEST(StepSnap, QClampsThenSnapsUp) {
  EXPECT_DOUBLE_EQ(SnapQ(0.1), 0.4);
  EXPECT_DOUBLE_EQ(SnapQ(1.27), 1.3);
  EXPECT_DOUBLE_EQ(SnapQ(1.5), 1.5);
  EXPECT_DOUBLE_EQ(SnapQ(200), 128);
  EXPECT_DOUBLE_EQ(SnapQ(kNaN), 0.4);
  EXPECT_DOUBLE_EQ(ClampQ(0.707), 0.707);
  EXPECT_DOUBLE_EQ(ClampQ(0), 0.4);
  EXPECT_DOUBLE_EQ(ClampQ(kNaN), 0.4);
}

TEST(StepFrequency, StepsOneGridEntry) {
  EXPECT_DOUBLE_EQ(StepFrequency(1000, true), 1020);
  EXPECT_DOUBLE_EQ(StepFrequency(1000, false), 981);
  EXPECT_DOUBLE_EQ(StepFrequency(99, true), 101);
  EXPECT_DOUBLE_EQ(StepFrequency(19.7, false), 19);
}

TEST(StepFrequency, OffGridFrequencyCountsAsTheEntryAboveIt) {
  EXPECT_DOUBLE_EQ(StepFrequency(1005, true), 1040);
  EXPECT_DOUBLE_EQ(StepFrequency(1005, false), 1000);
}

TEST(StepFrequency, EdgesStayInsideTheTable) {
  EXPECT_DOUBLE_EQ(StepFrequency(19, false), 19);
  EXPECT_DOUBLE_EQ(StepFrequency(20600, true), 20600);
  EXPECT_DOUBLE_EQ(StepFrequency(20600, false), 20200);
  // An off filter below the grid steps onto it upward and stays off downward.
  EXPECT_DOUBLE_EQ(StepFrequency(10, true), 19.7);
  EXPECT_DOUBLE_EQ(StepFrequency(10, false), 10);
  EXPECT_DOUBLE_EQ(StepFrequency(25000, true), 25000);
  EXPECT_DOUBLE_EQ(StepFrequency(25000, false), 25000);
  EXPECT_DOUBLE_EQ(StepFrequency(kNaN, true), 19);
}

TEST(StepFrequency, WalksTheWholeTableUpAndDown) {
  double hz = FrequencyStepTable.front();
  for (std::size_t i = 1; i < FrequencyStepTable.size(); ++i) {
    hz = StepFrequency(hz, true);
    ASSERT_DOUBLE_EQ(hz, FrequencyStepTable[i]);
  }
  for (std::size_t i = FrequencyStepTable.size() - 1; i-- > 0;) {
    hz = StepFrequency(hz, false);
    ASSERT_DOUBLE_EQ(hz, FrequencyStepTable[i]);
  }
}

}  // namespace
}  // namespace rmt4
