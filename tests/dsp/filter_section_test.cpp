#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "dsp/plot_axis.h"
#include "dsp/section_design.h"
#include "dsp/section_magnitude.h"

namespace rmt4 {
namespace {

/// Independent reference: |H(e^jw)| of the section evaluated with complex
/// arithmetic in z^-1 form, in double precision.
double ReferenceDb(const Section& s, double omega) {
  const std::complex<double> zInv = std::polar(1.0, -omega);
  const std::complex<double> num = s.b0 + s.b1 * zInv + s.b2 * zInv * zInv;
  const std::complex<double> den = 1.0 + s.a1 * zInv + s.a2 * zInv * zInv;
  return 20.0 * std::log10(std::abs(num / den));
}

double MagnitudeDbAt(const Section& s, double hz) {
  return SectionMagnitudeDb(s, PhasorAt(AngularFrequency(hz)));
}

double LinearToDb(double gain) {
  return 20.0 * std::log10(gain);
}

const double kHalfPowerDb = LinearToDb(std::numbers::sqrt2 / 2.0);

TEST(FilterSection, MagnitudeMatchesComplexEvaluationAcrossTheAxis) {
  const Section sections[] = {
      DesignHighPass2(1000, 0.707), DesignLowPass2(300, 2.0),   DesignHighPass1(80),
      DesignLowPass1(12000),        DesignPeaking(2500, 4, 2.0), DesignHighShelf(5000, 1, 0.5),
      DesignLowShelf(150, 0.7, 1.7),
  };
  for (const Section& section : sections) {
    for (double hz = 19; hz < 20600; hz *= 1.07) {
      const double omega = AngularFrequency(hz);
      // Single-precision steps keep the result within a few millionths of a dB.
      ASSERT_NEAR(SectionMagnitudeDb(section, PhasorAt(omega)), ReferenceDb(section, omega), 1e-4)
          << "at " << hz << " Hz";
    }
  }
}

TEST(FilterSection, SecondOrderCutHasItsQAtTheCorner) {
  for (const double q : {0.5, 0.707, 1.3, 5.0}) {
    EXPECT_NEAR(MagnitudeDbAt(DesignHighPass2(1000, q), 1000), LinearToDb(q), 1e-4);
    EXPECT_NEAR(MagnitudeDbAt(DesignLowPass2(1000, q), 1000), LinearToDb(q), 1e-4);
  }
}

TEST(FilterSection, CutsPassOneSideAndStopTheOther) {
  EXPECT_NEAR(MagnitudeDbAt(DesignHighPass2(100, 0.707), 10000), 0.0, 1e-3);
  EXPECT_LT(MagnitudeDbAt(DesignHighPass2(1000, 0.707), 100), -39.0);  // 12 dB/octave
  EXPECT_NEAR(MagnitudeDbAt(DesignLowPass2(10000, 0.707), 50), 0.0, 1e-3);
  EXPECT_LT(MagnitudeDbAt(DesignLowPass2(1000, 0.707), 10000), -39.0);
}

TEST(FilterSection, FirstOrderCutsAreHalfPowerAtTheCorner) {
  EXPECT_NEAR(MagnitudeDbAt(DesignHighPass1(440), 440), kHalfPowerDb, 1e-4);
  EXPECT_NEAR(MagnitudeDbAt(DesignLowPass1(440), 440), kHalfPowerDb, 1e-4);
  // 6 dB per octave well inside the stop band.
  EXPECT_NEAR(MagnitudeDbAt(DesignHighPass1(4000), 250) - MagnitudeDbAt(DesignHighPass1(4000), 500),
              -6.0, 0.1);
}

TEST(FilterSection, PeakingGivesItsFullGainAtTheCentreOnly) {
  for (const double gainDb : {12.0, -24.0, 1.4}) {
    const Section peak = DesignPeaking(1000, 2.0, std::pow(10.0, gainDb / 40.0));
    EXPECT_NEAR(MagnitudeDbAt(peak, 1000), gainDb, 1e-4);
    EXPECT_NEAR(MagnitudeDbAt(peak, 20), 0.0, 0.01);
    EXPECT_NEAR(MagnitudeDbAt(peak, 20000), 0.0, 0.05);
  }
}

TEST(FilterSection, ShelvesReachHalfTheGainAtTheCorner) {
  const double gainDb = 9.0;
  const double amplitude = std::pow(10.0, gainDb / 40.0);
  const Section high = DesignHighShelf(1000, 0.707, amplitude);
  const Section low = DesignLowShelf(1000, 0.707, amplitude);
  EXPECT_NEAR(MagnitudeDbAt(high, 1000), gainDb / 2, 1e-4);
  EXPECT_NEAR(MagnitudeDbAt(low, 1000), gainDb / 2, 1e-4);
  EXPECT_NEAR(MagnitudeDbAt(high, 19), 0.0, 0.01);
  EXPECT_NEAR(MagnitudeDbAt(high, 20000), gainDb, 0.05);
  EXPECT_NEAR(MagnitudeDbAt(low, 19), gainDb, 0.01);
  EXPECT_NEAR(MagnitudeDbAt(low, 20000), 0.0, 0.05);
}

TEST(FilterSection, ShelfQAboveTwoShelvesLikeTwo) {
  const double amplitude = std::pow(10.0, -6.0 / 40.0);
  const Section atTwo = DesignHighShelf(3000, 2, amplitude);
  const Section atFour = DesignHighShelf(3000, 4, amplitude);
  EXPECT_DOUBLE_EQ(atFour.b0, atTwo.b0);
  EXPECT_DOUBLE_EQ(atFour.b2, atTwo.b2);
  EXPECT_DOUBLE_EQ(atFour.a2, atTwo.a2);
  // Below 2 the Q does change the shape.
  EXPECT_NE(DesignHighShelf(3000, 1, amplitude).b0, atTwo.b0);
}

TEST(FilterSection, DegenerateDesignInputsStayFinite) {
  // Q = 0 would divide by zero; NaN Q would poison every coefficient.
  const Section zeroQ = DesignPeaking(1000, 0.0, 2.0);
  const Section nanQ = DesignLowPass2(1000, std::numeric_limits<double>::quiet_NaN());
  // Beyond half the sample rate the first-order pole divides by zero (36 kHz).
  const Section aboveNyquist = DesignHighPass1(36000);
  const Section peakAboveNyquist = DesignPeaking(30000, 0.4, 1.0);
  for (const Section& s : {zeroQ, nanQ, aboveNyquist, peakAboveNyquist}) {
    for (const double hz : {19.0, 1000.0, 20599.0}) {
      EXPECT_TRUE(std::isfinite(MagnitudeDbAt(s, hz))) << hz;
    }
  }
  EXPECT_DOUBLE_EQ(zeroQ.b0, DesignPeaking(1000, 0.4, 2.0).b0);  // designed at the lowest Q
  EXPECT_NEAR(MagnitudeDbAt(aboveNyquist, 20600), kHalfPowerDb, 1e-4);  // at the axis top
}

}  // namespace
}  // namespace rmt4
