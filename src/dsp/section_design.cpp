#include "dsp/section_design.h"

#include <algorithm>
#include <cmath>

#include "dsp/plot_axis.h"
#include "dsp/step_snapping.h"

namespace rmt4 {

namespace {

struct Corner {
  double sin;
  double cos;
};

Corner CornerAt(double hz) {
  const double omega = AngularFrequency(std::min(hz, kAxisMaxHz));
  return {std::sin(omega), std::cos(omega)};
}

/// Divides every coefficient by a0.
Section Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
  return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

/// Second-order high- and low-pass share their poles; b2 equals b0.
Section SecondOrderCut(const Corner& corner, double q, double b0, double b1) {
  const double alpha = corner.sin / (2.0 * ClampQ(q));
  return Normalised(b0, b1, b0, 1.0 + alpha, -2.0 * corner.cos, 1.0 - alpha);
}

/// Pole of the first-order sections, tan-free form of (1 - tan(w/2)) / (1 + tan(w/2)).
double FirstOrderPole(const Corner& corner) {
  return corner.cos / (1.0 + corner.sin);
}

/// The console's shelf slope term: a Q above 2 shelves no steeper than Q = 2.
double ShelfBeta(const Corner& corner, double q, double amplitude) {
  const double shelfQ = std::min(ClampQ(q), 2.0);
  return std::sqrt(amplitude) * corner.sin / shelfQ;
}

}  // namespace

Section DesignHighPass2(double hz, double q) {
  const Corner k = CornerAt(hz);
  return SecondOrderCut(k, q, (1.0 + k.cos) / 2.0, -(1.0 + k.cos));
}

Section DesignLowPass2(double hz, double q) {
  const Corner k = CornerAt(hz);
  return SecondOrderCut(k, q, (1.0 - k.cos) / 2.0, 1.0 - k.cos);
}

Section DesignHighPass1(double hz) {
  const double g = FirstOrderPole(CornerAt(hz));
  return {(1.0 + g) / 2.0, -(1.0 + g) / 2.0, 0.0, -g, 0.0};
}

Section DesignLowPass1(double hz) {
  const double g = FirstOrderPole(CornerAt(hz));
  return {(1.0 - g) / 2.0, (1.0 - g) / 2.0, 0.0, -g, 0.0};
}

Section DesignPeaking(double hz, double q, double amplitude) {
  const Corner k = CornerAt(hz);
  const double alpha = k.sin / (2.0 * ClampQ(q));
  const double a = amplitude;
  return Normalised(1.0 + alpha * a, -2.0 * k.cos, 1.0 - alpha * a, 1.0 + alpha / a,
                    -2.0 * k.cos, 1.0 - alpha / a);
}

Section DesignHighShelf(double hz, double q, double amplitude) {
  const Corner k = CornerAt(hz);
  const double a = amplitude;
  const double beta = ShelfBeta(k, q, a);
  return Normalised(a * ((a + 1.0) + (a - 1.0) * k.cos + beta),
                    -2.0 * a * ((a - 1.0) + (a + 1.0) * k.cos),
                    a * ((a + 1.0) + (a - 1.0) * k.cos - beta),
                    (a + 1.0) - (a - 1.0) * k.cos + beta,
                    2.0 * ((a - 1.0) - (a + 1.0) * k.cos),
                    (a + 1.0) - (a - 1.0) * k.cos - beta);
}

Section DesignLowShelf(double hz, double q, double amplitude) {
  const Corner k = CornerAt(hz);
  const double a = amplitude;
  const double beta = ShelfBeta(k, q, a);
  return Normalised(a * ((a + 1.0) - (a - 1.0) * k.cos + beta),
                    2.0 * a * ((a - 1.0) - (a + 1.0) * k.cos),
                    a * ((a + 1.0) - (a - 1.0) * k.cos - beta),
                    (a + 1.0) + (a - 1.0) * k.cos + beta,
                    -2.0 * ((a - 1.0) + (a + 1.0) * k.cos),
                    (a + 1.0) + (a - 1.0) * k.cos - beta);
}

}  // namespace rmt4
