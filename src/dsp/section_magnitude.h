#pragma once

#include "dsp/section_design.h"

namespace rmt4 {

/// Point on the unit circle, cos and sin of an angular frequency. Computed once
/// per plot column and shared by every section evaluated there.
struct UnitPhasor {
  double cos;
  double sin;
};

[[nodiscard]] UnitPhasor PhasorAt(double omega);

/// 20*log10 |H| of the section at the phasor's frequency. The squared
/// magnitude, its root and the logarithm pass through single precision, as on
/// the console's own display; that moves a curve by far less than a pixel.
[[nodiscard]] double SectionMagnitudeDb(const Section& section, UnitPhasor at);

}  // namespace rmt4
