#include "history/change_log_files.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>
#include <tuple>

namespace rmt4 {
namespace {

constexpr std::string_view kPrefix = "changes-";
constexpr std::string_view kSuffix = ".log";
constexpr std::size_t kDayLength = 10;  // "2026-12-10"

bool IsDay(std::string_view text) {
  if (text.size() != kDayLength || text[4] != '-' || text[7] != '-') return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
}

/// The day and part a file name names, for the names ChangeLogPath makes only.
std::optional<std::pair<std::string, int>> ParseFileName(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const std::string_view day = name.substr(0, kDayLength);
  if (!IsDay(day)) return std::nullopt;
  name.remove_prefix(day.size());
  if (name.empty()) return std::pair{std::string(day), 0};
  int part = 0;
  if (name.front() != '.' || name.size() > 6) return std::nullopt;
  const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), part);
  if (error != std::errc() || end != name.data() + name.size() || part < 1) return std::nullopt;
  return std::pair{std::string(day), part};
}

}  // namespace

std::filesystem::path ChangeLogPath(const std::filesystem::path& folder, std::string_view day, int part) {
  std::string name(kPrefix);
  name.append(day);
  if (part > 0) name.append(".").append(std::to_string(part));
  name.append(kSuffix);
  return folder / name;
}

std::vector<ChangeLogFile> ListChangeLogFiles(const std::filesystem::path& folder) {
  std::vector<ChangeLogFile> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const auto parsed = ParseFileName(it->path().filename().native());
    if (!parsed || !it->is_regular_file(error)) continue;
    const std::uintmax_t bytes = it->file_size(error);
    files.push_back({it->path(), parsed->first, parsed->second, error ? 0 : bytes});
    error.clear();
  }
  std::sort(files.begin(), files.end(),
            [](const ChangeLogFile& a, const ChangeLogFile& b) { return std::tie(a.day, a.part) < std::tie(b.day, b.part); });
  return files;
}

std::string PruneChangeLogFiles(const std::filesystem::path& folder, std::string_view firstKeptDay,
                                std::uintmax_t maxTotalBytes, const std::filesystem::path& current) {
  std::vector<ChangeLogFile> files = ListChangeLogFiles(folder);
  std::uintmax_t total = 0;
  for (const ChangeLogFile& file : files) total += file.bytes;
  std::string problem;
  for (const ChangeLogFile& file : files) {
    if (file.day >= firstKeptDay && total <= maxTotalBytes) break;
    if (file.path == current) continue;
    std::error_code error;
    if (std::filesystem::remove(file.path, error)) {
      total -= file.bytes;
    } else if (error && problem.empty()) {
      problem = file.path.string() + ": " + error.message();
    }
  }
  return problem;
}

}  // namespace rmt4
