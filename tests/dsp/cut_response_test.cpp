#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "dsp/filter_response.h"

namespace rmt4 {
namespace {

// Height 36 with the default limits makes one pixel exactly one dB (offset = -dB).
constexpr PlotGeometry kCutPlot{.width = 1100, .height = 36};
constexpr int kCornerColumn = 500;
const double kCornerHz = FrequencyAtColumn(kCornerColumn, kCutPlot.width);
const double kCutHalfPowerDb = 10.0 * std::log10(0.5);

bool AllZero(const std::vector<double>& row) {
  return std::ranges::all_of(row, [](double v) { return v == 0.0; });
}

CutFilterPoints BothAt(double hz) {
  return {.hpfHz = hz, .lpfHz = hz, .hpfQ = 2.5, .lpfQ = 2.5};
}

/// Corner value of each catalogue entry, written from the device's table: a
/// second-order section contributes 20*log10(Q) = 10*log10(k) at its corner,
/// a first-order one -3.01 dB, a point-Q section 20*log10 of that Q (2.5 here).
struct CatalogueEntry {
  CutTypeCode code;
  bool highPass;
  std::vector<double> ks;
  int firstOrderSections;
  int pointQSections;
};

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries{
      {8, true, {0.4997}, 0, 0},
      {9, false, {0.5019}, 0, 0},
      {10, true, {0.333}, 0, 0},
      {11, false, {0.3345}, 0, 0},
      {12, true, {0.4995}, 0, 0},
      {13, false, {0.5019}, 0, 0},
      {14, true, {0.999}, 1, 0},
      {15, false, {1.0048}, 1, 0},
      {16, true, {0.333}, 1, 0},
      {17, false, {0.3345}, 1, 0},
      {18, true, {0.4995}, 1, 0},
      {19, false, {0.5019}, 1, 0},
      {20, true, {1.7039, 0.2925}, 0, 0},
      {21, false, {1.717, 0.2939}, 0, 0},
      {22, true, {0.333, 0.333}, 0, 0},
      {23, false, {0.3345, 0.3345}, 0, 0},
      {24, true, {0.4995, 0.4995}, 0, 0},
      {25, false, {0.5019, 0.5019}, 0, 0},
      {26, true, {6.6331, 0.8136, 0.3629, 0.2607}, 0, 0},
      {27, false, {6.6331, 0.8136, 0.3629, 0.2607}, 0, 0},
      {28, true, {0.333, 0.333, 0.333, 0.333}, 0, 0},
      {29, false, {0.3345, 0.3345, 0.3345, 0.3345}, 0, 0},
      {30, true, {1.7054, 0.2926, 1.7054, 0.2926}, 0, 0},
      {31, false, {1.717, 0.2939, 1.717, 0.2939}, 0, 0},
      {32, true, {}, 0, 1},
      {33, false, {}, 0, 1},
      {36, true, {}, 0, 2},
      {37, false, {}, 0, 2},
      {40, true, {}, 1, 0},
      {41, false, {}, 1, 0},
      {42, true, {}, 1, 0},
      {43, false, {}, 1, 0},
      {44, true, {}, 1, 0},
      {45, false, {}, 1, 0},
      {52, true, {1.7039, 0.2925}, 2, 0},
      {53, false, {2.57548, 0.901998, 0.602412}, 0, 0},
      {54, true, {0.577062, 0.577062, 0.577062}, 0, 0},
      {55, false, {0.57836, 0.57836, 0.57836}, 0, 0},
      {56, true, {0.4995, 0.4995, 0.4995}, 0, 0},
      {57, false, {0.5019, 0.5019, 0.5019}, 0, 0},
  };
  return entries;
}

TEST(CutResponse, EveryCatalogueEntryHasItsClosedFormValueAtTheCorner) {
  for (const CatalogueEntry& entry : Catalogue()) {
    double expectedDb = entry.firstOrderSections * kCutHalfPowerDb +
                        entry.pointQSections * 20.0 * std::log10(2.5);
    for (const double k : entry.ks) {
      expectedDb += 10.0 * std::log10(k);
    }
    // The other point is off, so a filter following the wrong point stays flat.
    CutFilterPoints points = BothAt(kCornerHz);
    (entry.highPass ? points.lpfHz : points.hpfHz) = 10.0;
    const std::vector<double> row = CutResponse(entry.code, points, kCutPlot);
    ASSERT_EQ(row.size(), 1100u);
    EXPECT_NEAR(-row[kCornerColumn], expectedDb, 1e-3) << "code " << entry.code;
    // The stop band lies on the filter's own side of the corner.
    const double stopBandDb = -row[entry.highPass ? 0 : row.size() - 1];
    EXPECT_LT(stopBandDb, -15.0) << "code " << entry.code;
  }
}

/// Exact magnitude of a digital Butterworth filter made with the bilinear
/// transform: the analog one at the pre-warped frequency ratio.
double ButterworthDb(int order, bool highPass, double hz, double cornerHz) {
  const double ratio = std::tan(std::numbers::pi * hz / 48000) /
                       std::tan(std::numbers::pi * cornerHz / 48000);
  const double normalised = highPass ? 1.0 / ratio : ratio;
  return -10.0 * std::log10(1.0 + std::pow(normalised, 2 * order));
}

TEST(CutResponse, ButterworthTypesFollowTheButterworthCurve) {
  struct Case {
    CutTypeCode code;
    int order;
    bool highPass;
  };
  const CutFilterPoints points{.hpfHz = 250, .lpfHz = 4000};
  for (const Case c : {Case{8, 2, true}, Case{9, 2, false}, Case{20, 4, true},
                       Case{21, 4, false}}) {
    const std::vector<double> row = CutResponse(c.code, points, kCutPlot);
    const double cornerHz = c.highPass ? points.hpfHz : points.lpfHz;
    for (int column = 0; column < kCutPlot.width; ++column) {
      const double hz = FrequencyAtColumn(column, kCutPlot.width);
      // The device's constants round the ideal Qs; that costs a few hundredths.
      ASSERT_NEAR(-row[column], ButterworthDb(c.order, c.highPass, hz, cornerHz), 0.06)
          << "code " << c.code << " at " << hz << " Hz";
    }
  }
}

TEST(CutResponse, LowPassLinkwitzTwelveEqualsButterworthTwelve) {
  EXPECT_EQ(CutResponse(9, BothAt(3000), kCutPlot), CutResponse(13, BothAt(3000), kCutPlot));
}

TEST(CutResponse, CascadesSumTheirSections) {
  const std::vector<double> single = CutResponse(10, BothAt(500), kCutPlot);
  const std::vector<double> twice = CutResponse(22, BothAt(500), kCutPlot);
  const std::vector<double> fourTimes = CutResponse(28, BothAt(500), kCutPlot);
  for (std::size_t i = 0; i < single.size(); ++i) {
    ASSERT_NEAR(twice[i], 2 * single[i], 1e-9);
    ASSERT_NEAR(fourTimes[i], 4 * single[i], 1e-9);
  }
}

TEST(CutResponse, OffThresholds) {
  // A high-pass at its maximum is on; a low-pass at its maximum is off.
  EXPECT_FALSE(AllZero(CutResponse(8, BothAt(20600), kCutPlot)));
  EXPECT_TRUE(AllZero(CutResponse(9, BothAt(20600), kCutPlot)));
  EXPECT_FALSE(AllZero(CutResponse(9, BothAt(20599), kCutPlot)));
  EXPECT_TRUE(AllZero(CutResponse(8, BothAt(20601), kCutPlot)));
  for (const CutTypeCode code : {CutTypeCode{8}, CutTypeCode{9}}) {
    EXPECT_TRUE(AllZero(CutResponse(code, BothAt(19), kCutPlot)));
    EXPECT_FALSE(AllZero(CutResponse(code, BothAt(19.7), kCutPlot)));
    EXPECT_TRUE(AllZero(CutResponse(code, BothAt(0), kCutPlot)));
    EXPECT_TRUE(AllZero(CutResponse(code, BothAt(std::numeric_limits<double>::quiet_NaN()), kCutPlot)));
  }
  CutFilterPoints lowered = BothAt(1000);
  lowered.hpfMaxHz = 999;
  lowered.lpfMaxHz = 1000;
  EXPECT_TRUE(AllZero(CutResponse(8, lowered, kCutPlot)));
  EXPECT_TRUE(AllZero(CutResponse(9, lowered, kCutPlot)));
}

TEST(CutResponse, UnlistedCodesAreFlat) {
  for (const int code : {0, 2, 7, 34, 35, 38, 39, 46, 51, 58, 60, 63, 64, 69, 0xFFFF}) {
    const std::vector<double> row =
        CutResponse(static_cast<CutTypeCode>(code), BothAt(1000), kCutPlot);
    EXPECT_EQ(row.size(), 1100u);
    EXPECT_TRUE(AllZero(row)) << "code " << code;
  }
}

TEST(CutResponse, PointQSectionsFollowThePointsQ) {
  CutFilterPoints points = BothAt(kCornerHz);
  points.lpfQ = 0.5;
  EXPECT_NEAR(-CutResponse(33, points, kCutPlot)[kCornerColumn], 20 * std::log10(0.5), 1e-3);
  // A Q of zero would divide by zero; it is designed at the lowest Q, 0.4.
  points.hpfQ = 0.0;
  EXPECT_NEAR(-CutResponse(32, points, kCutPlot)[kCornerColumn], 20 * std::log10(0.4), 1e-3);
}

TEST(CutResponse, PlotGeometryShapesTheRow) {
  const CutFilterPoints points = BothAt(1000);
  const std::vector<double> oneDbPerPixel = CutResponse(20, points, kCutPlot);
  const std::vector<double> tall =
      CutResponse(20, points, PlotGeometry{.width = 1100, .height = 360});
  EXPECT_NEAR(tall[300], 10 * oneDbPerPixel[300], 1e-9);
  EXPECT_TRUE(CutResponse(20, points, PlotGeometry{.width = 0, .height = 36}).empty());
  EXPECT_TRUE(CutResponse(20, points, PlotGeometry{.width = -5, .height = 36}).empty());
  EXPECT_TRUE(
      CutResponse(20, points, PlotGeometry{.width = kMaxPlotWidth + 1, .height = 36}).empty());
  EXPECT_EQ(CutResponse(20, points, PlotGeometry{.width = 1, .height = 36}).size(), 1u);
  EXPECT_TRUE(AllZero(
      CutResponse(20, points, PlotGeometry{.width = 1100, .height = 36, .dbMax = 5, .dbMin = 5})));
}

TEST(CutResponse, CornersAboveTheAxisStayFinite) {
  // A caller may raise the maxima beyond the axis; the design stops at its top.
  CutFilterPoints points = BothAt(30000);
  points.hpfMaxHz = 40000;
  points.lpfMaxHz = 40000;
  points.hpfQ = 0.4;
  for (const CutTypeCode code : {CutTypeCode{32}, CutTypeCode{40}, CutTypeCode{41}}) {
    const std::vector<double> row = CutResponse(code, points, kCutPlot);
    EXPECT_TRUE(std::ranges::all_of(row, [](double v) { return std::isfinite(v); }))
        << "code " << code;
  }
}

}  // namespace
}  // namespace rmt4
