#include "dsp/section_magnitude.h"

#include <cmath>

namespace rmt4 {

UnitPhasor PhasorAt(double omega) {
  return {std::cos(omega), std::sin(omega)};
}

double SectionMagnitudeDb(const Section& section, UnitPhasor at) {
  const double c = at.cos;
  const double s = at.sin;
  const double cos2 = c * c - s * s;
  const double sin2 = 2.0 * c * s;
  const double numRe = section.b0 * cos2 + section.b1 * c + section.b2;
  const double numIm = section.b0 * sin2 + section.b1 * s;
  const double denRe = cos2 + section.a1 * c + section.a2;
  const double denIm = sin2 + section.a1 * s;
  const auto squared = static_cast<float>((numRe * numRe + numIm * numIm) /
                                          (denRe * denRe + denIm * denIm));
  const float magnitude = std::sqrt(squared);
  return 20.0 * static_cast<double>(std::log10(magnitude));
}

}  // namespace rmt4
