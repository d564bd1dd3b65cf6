#include "dsp/plot_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace rmt4 {
namespace {

TEST(FilterAxis, ColumnsSpanTheAxisLogarithmically) {
  EXPECT_DOUBLE_EQ(FrequencyAtColumn(0, 1100), 19);
  EXPECT_NEAR(FrequencyAtColumn(1100, 1100), 20600, 1e-9);
  // Halfway across is the geometric mean of the ends.
  EXPECT_NEAR(FrequencyAtColumn(550, 1100), std::sqrt(19.0 * 20600.0), 1e-9);
}

TEST(FilterAxis, ColumnOfFrequencyInvertsAndTruncates) {
  EXPECT_EQ(ColumnOfFrequency(19, 1100), 0);
  EXPECT_EQ(ColumnOfFrequency(20600, 1100), 1100);
  EXPECT_EQ(ColumnOfFrequency(FrequencyAtColumn(700.5, 1100), 1100), 700);
  // Below 19 Hz the column is negative and truncates toward zero.
  EXPECT_EQ(ColumnOfFrequency(FrequencyAtColumn(-3.5, 1100), 1100), -3);
}

TEST(FilterAxis, FrequenciesWithoutAPlaceStayOffThePlot) {
  EXPECT_EQ(ColumnOfFrequency(0, 1100), -1100);
  EXPECT_EQ(ColumnOfFrequency(-5, 1100), -1100);
  EXPECT_EQ(ColumnOfFrequency(std::numeric_limits<double>::quiet_NaN(), 1100), -1100);
  EXPECT_EQ(ColumnOfFrequency(1e300, 1100), 2200);
  EXPECT_EQ(ColumnOfFrequency(1000, 0), 0);
  EXPECT_DOUBLE_EQ(FrequencyAtColumn(500, 0), 19);
}

TEST(FilterAxis, PixelOffsetIsPositiveDownward) {
  const PlotGeometry plot{.width = 1100, .height = 360};
  EXPECT_DOUBLE_EQ(PixelOffsetOfDb(-6, plot), 60);  // -dB * H / 36 with default limits
  EXPECT_DOUBLE_EQ(PixelOffsetOfDb(12, plot), -120);
  const PlotGeometry flatAxis{.width = 1100, .height = 360, .dbMax = 0, .dbMin = 0};
  EXPECT_DOUBLE_EQ(PixelOffsetOfDb(-6, flatAxis), 0);
}

}  // namespace
}  // namespace rmt4
