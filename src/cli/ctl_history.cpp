#include "cli/ctl_history.h"

#include <iostream>

#include "cli/ctl_options.h"
#include "history/change_log_reader.h"
#include "values/param_catalogue.h"

namespace rmt4::ctl {
namespace {

struct HistoryRequest {
  ChangeLogFilter filter;
  std::string error;
};

HistoryRequest ParseHistory(const std::vector<std::string>& command) {
  HistoryRequest request;
  for (std::size_t i = 1; i < command.size(); ++i) {
    const std::string& word = command[i];
    if (word == "--since") {
      if (i + 1 >= command.size()) return {{}, "--since needs a time of day HH:MM"};
      request.filter.sinceMsOfDay = ParseHourMinute(command[++i]);
      if (!request.filter.sinceMsOfDay) {
        return {{}, "--since needs a time of day HH:MM (00:00..23:59), not '" + command[i] + "'"};
      }
    } else if (request.filter.pattern.empty() && !word.starts_with("-")) {
      if (MatchParams(word).empty()) return {{}, "no parameter matches '" + word + "'"};
      request.filter.pattern = word;
    } else {
      return {{}, "history takes [--since HH:MM] [PATTERN], not '" + word + "'"};
    }
  }
  return request;
}

}  // namespace

bool IsHistoryCommand(const std::vector<std::string>& command) { return !command.empty() && command[0] == "history"; }

std::string ValidateHistory(const std::vector<std::string>& command) { return ParseHistory(command).error; }

int PrintHistory(const std::vector<std::string>& command, const std::filesystem::path& folder, std::int64_t nowUnixMs) {
  if (folder.empty()) {
    std::cerr << "rmt4ctl: no folder for the change log (HOME is not set)" << std::endl;
    return kExitFailed;
  }
  const std::string day = ToLocalMoment(nowUnixMs).day;
  const ChangeLogDay read = ReadChangeLogDay(folder, day, ParseHistory(command).filter);
  for (const ChangeLogEntry& entry : read.entries) std::cout << FormatChangeLogLine(entry) << '\n';
  std::cout.flush();
  if (!read.problem.empty()) {
    std::cerr << "rmt4ctl: " << read.problem << std::endl;
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace rmt4::ctl
