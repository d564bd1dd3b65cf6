#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/unique_fd.h"

namespace rmt4 {

/// "HID_VID_%x_PID_%x": the system-wide name that keeps one program on the device.
[[nodiscard]] std::string HidChannelLockName(std::uint16_t vendorId, std::uint16_t productId);

/// Where lock files live: $XDG_RUNTIME_DIR, else /tmp.
[[nodiscard]] std::filesystem::path DefaultLockDirectory();

/// A lock file held with flock: the system-wide named mutex of the device.
/// The lock goes with the process, so a crashed program never leaves the
/// device blocked.
class HidChannelLock {
 public:
  enum class Claim { Held, Blocked, Failed };

  explicit HidChannelLock(std::filesystem::path file) : file_(std::move(file)) {}

  /// Takes the lock unless another holder has it; keeps it once held.
  [[nodiscard]] Claim TryClaim();
  [[nodiscard]] bool Held() const { return descriptor_.Valid(); }
  /// Why the last claim failed, for the user.
  [[nodiscard]] const std::string& Problem() const { return problem_; }

 private:
  const std::filesystem::path file_;
  UniqueFd descriptor_;
  std::string problem_;
};

}  // namespace rmt4
