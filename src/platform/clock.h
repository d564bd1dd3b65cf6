#pragma once

#include <chrono>
#include <cstdint>

namespace rmt4 {

/// Milliseconds of a monotonic clock; only differences mean anything.
[[nodiscard]] inline std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace rmt4
