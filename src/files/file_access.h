#pragma once

// Small POSIX helpers shared by the scene files and the settings store: a read
// that never takes more than a bound and never blocks on a FIFO or device,
// and a replacement of a whole file that readers never see half-written.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace rmt4 {

enum class ReadStatus {
  kOk,
  kMissing,      // no such file (or a folder on the way is missing or a file)
  kNotReadable,  // exists but cannot be opened, or is not a regular file
  kTooLarge,     // larger than the bound; not read
  kError,        // a read error after opening
};

struct BoundedRead {
  ReadStatus status = ReadStatus::kError;
  std::string bytes;  // the whole file when status is kOk
};

/// Reads a regular file of at most `maxBytes` bytes. Larger files are refused
/// from their size before reading, and a file that grows while being read is
/// refused after at most `maxBytes` + 1 bytes.
[[nodiscard]] BoundedRead ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

/// Whether the file's status can be obtained (follows symbolic links).
[[nodiscard]] bool PathExists(const std::filesystem::path& path);

/// Creates the folder and its parents when missing; true when it is a folder afterwards.
bool EnsureDirectory(const std::filesystem::path& directory);

/// Replaces the file with `contents` through a temporary file in the same
/// folder and a rename, keeping the old file's permission bits. A symbolic
/// link is followed, so the link stays a link. False on any failure (the old
/// file is then untouched).
[[nodiscard]] bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view contents);

/// Writes all bytes to a file descriptor, retrying short writes and EINTR.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace rmt4
