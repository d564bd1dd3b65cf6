#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace rmt4::test {

/// A pseudo-terminal standing in for a serial cable: the code under test
/// opens `devicePath` like a port, the test plays the far end on the master.
class PtyPair {
 public:
  PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    std::array<char, 128> name{};
    if (master_.Valid() && ::grantpt(master_.Get()) == 0 && ::unlockpt(master_.Get()) == 0 &&
        ::ptsname_r(master_.Get(), name.data(), name.size()) == 0) {
      devicePath_ = name.data();
    }
  }

  [[nodiscard]] bool ok() const { return !devicePath_.empty(); }
  [[nodiscard]] const std::string& devicePath() const { return devicePath_; }
  [[nodiscard]] int master() const { return master_.Get(); }

  /// The far end writes.
  bool Send(const std::vector<std::uint8_t>& bytes) {
    return ::write(master_.Get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  /// What the far end received within `limit`, up to `wanted` bytes.
  std::vector<std::uint8_t> Receive(std::size_t wanted, std::chrono::milliseconds limit) {
    std::vector<std::uint8_t> received;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (received.size() < wanted) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      pollfd waiting{master_.Get(), POLLIN, 0};
      if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) break;
      std::array<std::uint8_t, 512> chunk{};
      const ssize_t count = ::read(master_.Get(), chunk.data(), std::min(chunk.size(), wanted - received.size()));
      if (count <= 0) break;
      received.insert(received.end(), chunk.begin(), chunk.begin() + count);
    }
    return received;
  }
  /// The far end goes away, as an unplugged adapter does.
  void Hangup() { master_.Reset(); }

 private:
  UniqueFd master_;
  std::string devicePath_;
};

}  // namespace rmt4::test
