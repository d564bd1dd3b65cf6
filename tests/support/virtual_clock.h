#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace rmt4::test {

/// Simulated time for the link engine. A wait that nothing ends early takes
/// almost no real time: it moves the clock on by its whole length. With a
/// console that answers inside the send, the worker's timeline is thus the
/// same on every machine, and minutes of link time pass in a moment.
class VirtualClock final : public Clock {
 public:
  std::int64_t NowMs() override { return now_.load(); }

  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::chrono::milliseconds duration,
               const std::function<bool()>& ready) override {
    if (ready()) return true;
    // A glimpse of real time lets the test's own thread act meanwhile (edit,
    // pull the cable, stop) and keeps a waiting worker from spinning flat out.
    if (wake.wait_for(lock, kRealGlimpse, ready)) return true;
    now_.fetch_add(duration.count());
    return ready();
  }

 private:
  static constexpr std::chrono::microseconds kRealGlimpse{200};
  std::atomic<std::int64_t> now_{1'000'000};
};

}  // namespace rmt4::test
