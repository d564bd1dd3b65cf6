#include "values/system_noise_gate.h"

#include <algorithm>

namespace rmt4 {

std::optional<int> SystemNoiseGatePosition(std::uint16_t value) {
  const auto* step = std::lower_bound(kSystemNoiseGateSteps.begin(), kSystemNoiseGateSteps.end(), value);
  if (step == kSystemNoiseGateSteps.end()) return std::nullopt;
  return static_cast<int>(step - kSystemNoiseGateSteps.begin());
}

}  // namespace rmt4
