#pragma once

// `safe list|add PATTERN|remove PATTERN`: the patterns no scene upload
// writes, kept with the window's settings; no console needed.

#include <string>
#include <vector>

namespace rmt4::ctl {

[[nodiscard]] bool IsSafeCommand(const std::vector<std::string>& command);
/// Why the command is refused before anything is read or written; empty when fine.
[[nodiscard]] std::string ValidateSafeCommand(const std::vector<std::string>& command);
[[nodiscard]] int RunSafeCommand(const std::vector<std::string>& command);

}  // namespace rmt4::ctl
