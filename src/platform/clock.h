#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace rmt4 {

/// Milliseconds of the machine's monotonic clock; only differences mean anything.
[[nodiscard]] inline std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

/// The time the link engine lives by: the machine's clock in the program, a
/// simulated one in tests, so that timing rules can be checked exactly and
/// without waiting for them.
class Clock {
 public:
  virtual ~Clock() = default;

  /// Milliseconds; only differences mean anything.
  [[nodiscard]] virtual std::int64_t NowMs() = 0;

  /// Waits on `wake` (with `lock` held, as for condition_variable::wait_for)
  /// until `ready()` holds or `duration` has passed on this clock; returns ready().
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                       std::chrono::milliseconds duration, const std::function<bool()>& ready) = 0;
};

/// The machine's monotonic clock, shared by everyone who does not need another.
[[nodiscard]] Clock& SteadyClock();

}  // namespace rmt4
