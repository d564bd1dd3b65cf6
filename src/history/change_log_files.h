#pragma once

// The change log's files in its folder: one a day, "changes-2026-12-10.log",
// continued in "changes-2026-12-10.1.log", ".2.log"… when a part is full.
// Other files of the folder are never touched.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rmt4 {

struct ChangeLogFile {
  std::filesystem::path path;
  std::string day;  ///< "2026-12-10"
  int part = 0;
  std::uintmax_t bytes = 0;
};

/// The file of `day`'s part `part` in `folder`.
[[nodiscard]] std::filesystem::path ChangeLogPath(const std::filesystem::path& folder, std::string_view day, int part);

/// The change log files in `folder`, oldest first (by day, then part); none
/// when the folder cannot be read.
[[nodiscard]] std::vector<ChangeLogFile> ListChangeLogFiles(const std::filesystem::path& folder);

/// Deletes the files of days before `firstKeptDay`, then the oldest others
/// while all of them together hold more than `maxTotalBytes`; `current` (the
/// file being written) stays. Returns why a file could not be deleted, or
/// nothing.
[[nodiscard]] std::string PruneChangeLogFiles(const std::filesystem::path& folder, std::string_view firstKeptDay,
                                              std::uintmax_t maxTotalBytes, const std::filesystem::path& current);

}  // namespace rmt4
