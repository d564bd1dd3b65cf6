#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

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

const double kHalfPowerDb = 10.0 * std::log10(0.5);

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
