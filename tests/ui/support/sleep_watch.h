#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace rmt4::test {

/// Notes every sleep and timed wait that the watched threads begin while it
/// lives: the C library's sleeps and the timed waits of condition variables,
/// into which the standard library's, Qt's and the link clock's timed waits
/// all turn. Whether a path waits does not depend on the machine's speed.
/// One at a time.
class SleepWatch {
 public:
  SleepWatch();
  ~SleepWatch();
  SleepWatch(const SleepWatch&) = delete;
  SleepWatch& operator=(const SleepWatch&) = delete;

  /// Watches `thread` from now on, while `when` holds (always, if not given).
  void Watch(std::thread::id thread, std::function<bool()> when = {});
  /// The waits begun so far, by function ("nanosleep").
  [[nodiscard]] std::vector<std::string> Waits() const;
};

}  // namespace rmt4::test
