#include "history/change_log_reader.h"

#include <cerrno>
#include <fstream>
#include <limits>
#include <system_error>

#include "history/change_log_files.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

// Longer than any line the log writes; a longer one is not the log's.
constexpr std::streamsize kLongestLine = 4096;

}  // namespace

bool PassesFilter(const ChangeLogEntry& entry, const ChangeLogFilter& filter) {
  if (filter.sinceMsOfDay && entry.msOfDay < *filter.sinceMsOfDay) return false;
  return filter.pattern.empty() || entry.isNote() || NameMatches(filter.pattern, entry.name);
}

ChangeLogDay ReadChangeLogDay(const std::filesystem::path& folder, std::string_view day,
                              const ChangeLogFilter& filter) {
  ChangeLogDay result;
  for (const ChangeLogFile& file : ListChangeLogFiles(folder)) {
    if (file.day != day) continue;
    std::ifstream in(file.path, std::ios::binary);
    if (!in) {
      if (result.problem.empty()) result.problem = file.path.string() + ": " + std::generic_category().message(errno);
      continue;
    }
    char line[kLongestLine];
    for (;;) {
      in.getline(line, kLongestLine);
      if (in.fail() && !in.eof() && in.gcount() == kLongestLine - 1) {
        // Too long: skip the rest of it.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        continue;
      }
      if (in.gcount() == 0 && !in) break;
      if (const auto entry = ParseChangeLogLine(line); entry && PassesFilter(*entry, filter)) {
        result.entries.push_back(*entry);
      }
      if (!in) break;
    }
  }
  return result;
}

}  // namespace rmt4
