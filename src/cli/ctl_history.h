#pragma once

// `history [--since HH:MM] [PATTERN]`: today's change log, oldest first, read
// from the state folder without any console.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rmt4::ctl {

[[nodiscard]] bool IsHistoryCommand(const std::vector<std::string>& command);
/// Why the command's words are refused; empty when fine.
[[nodiscard]] std::string ValidateHistory(const std::vector<std::string>& command);
/// Prints the entries of the local day of `nowUnixMs` kept in `folder`.
[[nodiscard]] int PrintHistory(const std::vector<std::string>& command, const std::filesystem::path& folder,
                               std::int64_t nowUnixMs);

}  // namespace rmt4::ctl
