#include "values/system_noise_gate.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(SystemNoiseGate, PositionIsTheFirstStepReachingTheValue) {
  const struct {
    std::uint16_t value;
    std::optional<int> position;
  } cases[] = {{0, 0}, {1, 1}, {3, 1}, {12, 10}, {327, 20}, {328, std::nullopt}, {1000, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(SystemNoiseGatePosition(c.value), c.position) << c.value;
}

}  // namespace
}  // namespace rmt4
