#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace rmt4::faults {

/// Turns a hang into a visible failure: while armed for longer than its
/// limit, it prints what was going on and aborts the process.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds limit);
  /// Ends its thread.
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  void Arm(std::string what);
  void Disarm();

 private:
  void Watch();

  const std::chrono::milliseconds limit_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  std::string what_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace rmt4::faults
