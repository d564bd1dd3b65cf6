#pragma once

#include <chrono>
#include <thread>

namespace rmt4::test {

/// Polls `ready` every 5 ms until it holds or `limit` has passed; true when
/// it held. The limit only bounds a failing test, so it is generous.
template <typename Predicate>
bool Eventually(Predicate ready, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!ready()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace rmt4::test
