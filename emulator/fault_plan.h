#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <span>
#include <vector>

namespace rmt4::emulator {

/// The ways the emulator misbehaves on purpose, from the command line.
struct FaultOptions {
  double dropProbability = 0.0;
  double corruptProbability = 0.0;
  /// Every delayed reply is held this long before it goes out.
  std::chrono::milliseconds delay{0};
  double delayProbability = 1.0;
  /// Above 0: stream bytes go out in random pieces of 1..pieceMaxBytes.
  std::size_t pieceMaxBytes = 0;
};

/// What to do with one outgoing message.
struct Delivery {
  bool drop = false;
  std::vector<std::uint8_t> bytes;  // possibly with one bit flipped
  std::chrono::milliseconds delay{0};
};

/// Decides, message by message, whether a reply is dropped, corrupted or
/// delayed and how a stream cuts it into pieces. Seeded, so a run can be
/// repeated. Thread-safe.
class FaultPlan {
 public:
  FaultPlan(const FaultOptions& options, std::uint32_t seed) : options_(options), random_(seed) {}

  [[nodiscard]] Delivery Decide(std::span<const std::uint8_t> message);
  /// Piece lengths that add up to `size`; one piece when pieces are off.
  [[nodiscard]] std::vector<std::size_t> Pieces(std::size_t size);

 private:
  [[nodiscard]] bool Chance(double probability);

  const FaultOptions options_;
  std::mutex mutex_;
  std::mt19937 random_;
};

/// Stops the console answering: while it holds, requests are ignored and
/// nothing is sent, as from a console that hangs. Thread-safe.
class Silence {
 public:
  using Clock = std::chrono::steady_clock;

  void Forever() { until_.store(Clock::time_point::max().time_since_epoch().count()); }
  /// `now` is the moment the silence starts (tests name it).
  void For(std::chrono::milliseconds duration, Clock::time_point now = Clock::now()) {
    until_.store((now + duration).time_since_epoch().count());
  }
  void End() { until_.store(Clock::time_point::min().time_since_epoch().count()); }
  [[nodiscard]] bool Active(Clock::time_point now = Clock::now()) const {
    return now.time_since_epoch().count() < until_.load();
  }

 private:
  std::atomic<Clock::rep> until_{Clock::time_point::min().time_since_epoch().count()};
};

}  // namespace rmt4::emulator
