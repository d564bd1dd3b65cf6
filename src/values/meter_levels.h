#pragma once

// The console's two output level meters, measured by the console and sent as
// one word (address 7): the segments lit on each side and what they mean in dB.

#include <cstdint>

namespace rmt4 {

/// Segments lit on the left and right meter, 0..15 as the word carries them.
struct MeterLevels {
  int left = 0;
  int right = 0;
};

[[nodiscard]] MeterLevels MeterLevelsFromWord(std::uint16_t word);

/// Segments a meter shows: the twelfth lights at full scale, the console's
/// higher readings show as full too.
inline constexpr int kMeterSegments = 12;
/// Each segment below full scale stands 3 dB lower.
inline constexpr double kMeterSegmentDb = 3.0;

/// The level `segments` lit stand for, in dBFS: 0 at full scale (twelve or
/// more), 3 dB less per segment below, -infinity with none lit.
[[nodiscard]] double MeterDbfs(int segments);

}  // namespace rmt4
