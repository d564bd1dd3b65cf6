#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace rmt4::emulator {

/// Spaces outgoing bytes as a wire of a given byte rate would: bytes go out
/// in chunks of about a millisecond's worth, each no earlier than the line
/// has carried the ones before. An idle line does not save up credit.
class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;

  /// 0 bytes per second: no pacing.
  explicit LinePacer(std::uint64_t bytesPerSecond) : bytesPerSecond_(bytesPerSecond) {}

  [[nodiscard]] bool Enabled() const { return bytesPerSecond_ > 0; }
  /// How many bytes to hand to the system in one write.
  [[nodiscard]] std::size_t ChunkBytes() const;
  /// When a chunk of `bytes` may start, given that it is ready at `now`;
  /// books the line for its duration.
  [[nodiscard]] Clock::time_point Book(Clock::time_point now, std::size_t bytes);

 private:
  std::uint64_t bytesPerSecond_;
  Clock::time_point lineFree_{};
};

}  // namespace rmt4::emulator
