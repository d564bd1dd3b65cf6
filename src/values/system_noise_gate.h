#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace rmt4 {

/// The console's noise-gate setting (address 1207): selector position 0..20 → stored value.
inline constexpr std::array<std::uint16_t, 21> kSystemNoiseGateSteps{0,  3,  4,  5,  6,  7,   8,   9,   10,  11, 13,
                                                                     14, 16, 18, 23, 29, 41, 65, 103, 184, 327};

/// The first position whose value reaches `value`; none when `value` is above the table.
[[nodiscard]] std::optional<int> SystemNoiseGatePosition(std::uint16_t value);

}  // namespace rmt4
