#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/change_log_line.h"

namespace rmt4 {

/// Which entries of a day to show.
struct ChangeLogFilter {
  /// Only from this time of day on (milliseconds since midnight).
  std::optional<std::int64_t> sinceMsOfDay;
  /// Only names matching this catalogue pattern ('*', '?', case-insensitive); empty for all.
  /// Notes of the log itself (changes it could not write) always pass.
  std::string pattern;
};

[[nodiscard]] bool PassesFilter(const ChangeLogEntry& entry, const ChangeLogFilter& filter);

struct ChangeLogDay {
  std::vector<ChangeLogEntry> entries;  ///< oldest first
  std::string problem;                  ///< a file that could not be read, and why
};

/// The entries of `day` ("2026-12-10") in `folder`, all its parts in order.
/// Lines that are not the log's own (or longer than any it writes) are skipped.
[[nodiscard]] ChangeLogDay ReadChangeLogDay(const std::filesystem::path& folder, std::string_view day,
                                            const ChangeLogFilter& filter = {});

}  // namespace rmt4
