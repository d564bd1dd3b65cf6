#pragma once

namespace rmt4 {

/// Coefficients of a first- or second-order section, normalised so that a0 = 1.
/// A first-order section has b2 = a2 = 0.
struct Section {
  double b0 = 1.0;
  double b1 = 0.0;
  double b2 = 0.0;
  double a1 = 0.0;
  double a2 = 0.0;
};

// Every design takes its corner or centre frequency in Hz at the console's
// sample rate. Frequencies above the plotted axis are designed at its top
// (20600 Hz): beyond half the sample rate the designs lose their meaning and
// some divide by zero. Q is limited to the console's 0.4..128 for the same
// reason (a Q of 0 divides by zero).

[[nodiscard]] Section DesignHighPass2(double hz, double q);
[[nodiscard]] Section DesignLowPass2(double hz, double q);
[[nodiscard]] Section DesignHighPass1(double hz);
[[nodiscard]] Section DesignLowPass1(double hz);

/// EQ bands. amplitude is A = 10^(G/40) for a gain of G dB.
[[nodiscard]] Section DesignPeaking(double hz, double q, double amplitude);
[[nodiscard]] Section DesignHighShelf(double hz, double q, double amplitude);
[[nodiscard]] Section DesignLowShelf(double hz, double q, double amplitude);

}  // namespace rmt4
