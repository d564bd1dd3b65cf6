#pragma once

#include <filesystem>
#include <string>

#include "platform/unique_fd.h"

namespace rmt4 {

/// Where lock files live: $XDG_RUNTIME_DIR, else /tmp.
[[nodiscard]] std::filesystem::path DefaultLockDirectory();

/// A system-wide named mutex: a lock file held with flock. The lock goes
/// with the process, so a crashed program never leaves it held.
class NamedLock {
 public:
  enum class Claim { Held, Blocked, Failed };

  explicit NamedLock(std::filesystem::path file) : file_(std::move(file)) {}

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
