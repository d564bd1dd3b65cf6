#include "platform/clock.h"

namespace rmt4 {
namespace {

class MachineClock final : public Clock {
 public:
  std::int64_t NowMs() override { return rmt4::NowMs(); }

  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, std::chrono::milliseconds duration,
               const std::function<bool()>& ready) override {
    return wake.wait_for(lock, duration, ready);
  }
};

}  // namespace

Clock& SteadyClock() {
  static MachineClock clock;
  return clock;
}

}  // namespace rmt4
