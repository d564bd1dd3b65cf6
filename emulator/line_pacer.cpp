#include "emulator/line_pacer.h"

#include <algorithm>
#include <limits>

namespace rmt4::emulator {

std::size_t LinePacer::ChunkBytes() const {
  if (!Enabled()) return std::numeric_limits<std::size_t>::max();
  return static_cast<std::size_t>(std::max<std::uint64_t>(1, bytesPerSecond_ / 1000));
}

LinePacer::Clock::time_point LinePacer::Book(Clock::time_point now, std::size_t bytes) {
  if (!Enabled()) return now;
  const Clock::time_point start = std::max(now, lineFree_);
  const auto nanoseconds = static_cast<std::int64_t>(bytes * 1'000'000'000ull / bytesPerSecond_);
  lineFree_ = start + std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(nanoseconds));
  return start;
}

}  // namespace rmt4::emulator
