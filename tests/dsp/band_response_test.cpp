#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "dsp/filter_response.h"

namespace rmt4 {
namespace {

constexpr int kPeak = 7;
constexpr int kHighShelf = 5;
constexpr int kLowShelf = 6;

// 361 rows: the gain scale uses H - 1 = 360 rows, so one marker row is one
// tenth of a dB, while the output scale makes one pixel 36/361 dB.
constexpr PlotGeometry kPlot{.width = 1100, .height = 361};

/// Row value back in dB.
double Db(double pixelOffset, const PlotGeometry& plot = kPlot) {
  return -pixelOffset * 36.0 / plot.height;
}

bool AllFinite(const std::vector<double>& row) {
  return std::ranges::all_of(row, [](double v) { return std::isfinite(v); });
}

TEST(BandResponse, MarkerOnTheZeroLineIsFlat) {
  for (const int type : {kPeak, kHighShelf, kLowShelf}) {
    const std::vector<double> row = BandResponse(type, 400, 0, 1.5, kPlot);
    ASSERT_EQ(row.size(), 1100u);
    EXPECT_TRUE(std::ranges::all_of(row, [](double v) { return v == 0.0; })) << type;
  }
}

TEST(BandResponse, PeakGivesTheMarkersGainAtItsColumn) {
  // 10 px below the line on the editor's 245 rows: trunc(10*360/244) = 14,
  // a cut of 1.4 dB rather than 10*36/244 = 1.475.
  const PlotGeometry editorPlot{.width = 1100, .height = 245};
  EXPECT_NEAR(Db(BandResponse(kPeak, 600, 10, 1.5, editorPlot)[600], editorPlot), -1.4, 1e-4);
  // A full boost to the top of the axis.
  const std::vector<double> boost = BandResponse(kPeak, 300, -120, 4.0, kPlot);
  EXPECT_NEAR(Db(boost[300]), 12.0, 1e-4);
  EXPECT_EQ(std::ranges::max_element(boost, std::ranges::greater{}) - boost.begin(), 300);
  EXPECT_NEAR(Db(boost.back()), 0.0, 0.01);  // seven octaves above
}

TEST(BandResponse, ShelvesFollowTheirSide) {
  const int cut = 120;
  const std::vector<double> high = BandResponse(kHighShelf, 550, cut, 0.7, kPlot);
  const std::vector<double> low = BandResponse(kLowShelf, 550, cut, 0.7, kPlot);
  EXPECT_NEAR(Db(high[550]), -6.0, 1e-4);  // half the shelf at the marker
  EXPECT_NEAR(Db(low[550]), -6.0, 1e-4);
  EXPECT_NEAR(Db(high.front()), 0.0, 0.05);
  EXPECT_NEAR(Db(high.back()), -12.0, 0.1);
  EXPECT_NEAR(Db(low.front()), -12.0, 0.05);
  EXPECT_NEAR(Db(low.back()), 0.0, 0.1);
}

TEST(BandResponse, ShelfQAboveTwoDrawsLikeTwo) {
  EXPECT_EQ(BandResponse(kHighShelf, 700, 40, 4.0, kPlot),
            BandResponse(kHighShelf, 700, 40, 2.0, kPlot));
  EXPECT_EQ(BandResponse(kLowShelf, 200, -30, 4.0, kPlot),
            BandResponse(kLowShelf, 200, -30, 2.0, kPlot));
}

TEST(BandResponse, UnknownTypesArePeaking) {
  const std::vector<double> peak = BandResponse(kPeak, 500, 30, 2.0, kPlot);
  for (const int type : {0, 1, 8, -3, 1000}) {
    EXPECT_EQ(BandResponse(type, 500, 30, 2.0, kPlot), peak) << type;
  }
}

TEST(BandResponse, EdgeInputStaysFinite) {
  // Marker far beyond the plot's right edge (above half the sample rate),
  // Q zero or NaN, and rows far outside the plot.
  EXPECT_TRUE(AllFinite(BandResponse(kPeak, 5000, 100, 0.4, kPlot)));
  EXPECT_TRUE(AllFinite(BandResponse(kHighShelf, 1500, -80, 0.0, kPlot)));
  EXPECT_TRUE(AllFinite(
      BandResponse(kLowShelf, 300, 40, std::numeric_limits<double>::quiet_NaN(), kPlot)));
  EXPECT_TRUE(AllFinite(BandResponse(kPeak, 300, std::numeric_limits<int>::max(), 1, kPlot)));
  EXPECT_TRUE(AllFinite(BandResponse(kPeak, std::numeric_limits<int>::min(), -500000, 1, kPlot)));
  // The cut is held at 120 dB: a low shelf that deep reads -120 dB at the bottom.
  EXPECT_NEAR(Db(BandResponse(kLowShelf, 1000, 1000000, 1, kPlot).front()), -120.0, 0.5);
}

TEST(BandResponse, DegeneratePlotsGiveNoCurve) {
  EXPECT_TRUE(BandResponse(kPeak, 5, 10, 1, PlotGeometry{.width = 0, .height = 245}).empty());
  // One row high: the gain scale would divide by zero.
  const std::vector<double> flat = BandResponse(kPeak, 5, 10, 1, PlotGeometry{.width = 50, .height = 1});
  EXPECT_EQ(flat.size(), 50u);
  EXPECT_TRUE(std::ranges::all_of(flat, [](double v) { return v == 0.0; }));
}

}  // namespace
}  // namespace rmt4
