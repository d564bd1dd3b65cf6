#pragma once

#include <cstdint>
#include <random>

namespace rmt4::emulator {

/// Level meters that move like music: a beat every few polls that decays,
/// with a little noise, left and right not quite alike. Advances once per
/// poll, so a fast poller sees smooth movement and a test sees determinism
/// for a given seed.
class MeterSimulator {
 public:
  explicit MeterSimulator(std::uint32_t seed) : random_(seed) {}

  /// The next meter word: left level in bits 0..3, right level in bits 4..7.
  [[nodiscard]] std::uint16_t Next();

 private:
  [[nodiscard]] int Channel(double envelope);

  std::mt19937 random_;
  unsigned poll_ = 0;
  double envelope_ = 0.0;
};

}  // namespace rmt4::emulator
