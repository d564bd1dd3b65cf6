#include "history/change_log_line.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace rmt4 {
namespace {

constexpr std::string_view kArrow = "→";
constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

/// One field: a tab, carriage return or line feed would split the line.
std::string Field(std::string_view text) {
  std::string field(text);
  for (char& c : field) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return field;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

template <typename Number>
std::optional<Number> Digits(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

/// "HH:MM:SS.mmm".
std::optional<std::int64_t> ParseTimeOfDay(std::string_view text) {
  if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') return std::nullopt;
  const auto hours = Digits<int>(text.substr(0, 2));
  const auto minutes = Digits<int>(text.substr(3, 2));
  const auto seconds = Digits<int>(text.substr(6, 2));
  const auto ms = Digits<int>(text.substr(9, 3));
  if (!hours || !minutes || !seconds || !ms || *hours > 23 || *minutes > 59 || *seconds > 60) return std::nullopt;
  return ((*hours * 60LL + *minutes) * 60 + *seconds) * 1000 + *ms;
}

}  // namespace

std::string FormatTimeOfDay(std::int64_t msOfDay) {
  const std::int64_t ms = std::clamp<std::int64_t>(msOfDay, 0, kMsPerDay - 1);
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3'600'000),
                static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
  return text;
}

std::optional<std::int64_t> ParseHourMinute(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3) return std::nullopt;
  const auto hours = Digits<int>(text.substr(0, colon));
  const auto minutes = Digits<int>(text.substr(colon + 1));
  if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
  return (*hours * 60LL + *minutes) * 60'000;
}

std::string FormatChangeLogLine(const ChangeLogEntry& entry) {
  std::string line = FormatTimeOfDay(entry.msOfDay) + '\t' + Field(entry.who) + '\t' +
                     (entry.step ? std::to_string(*entry.step) : std::string("-")) + '\t';
  if (entry.isNote()) return line + Field(entry.note);
  return line + Field(entry.name) + '\t' + Field(entry.before) + '\t' + std::string(kArrow) + '\t' + Field(entry.after);
}

std::optional<ChangeLogEntry> ParseChangeLogLine(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  const std::vector<std::string_view> fields = SplitTabs(line);
  if (fields.size() < 4) return std::nullopt;
  ChangeLogEntry entry;
  const auto time = ParseTimeOfDay(fields[0]);
  if (!time || fields[1].empty()) return std::nullopt;
  entry.msOfDay = *time;
  entry.who = fields[1];
  if (fields[2] != "-") {
    entry.step = Digits<std::uint64_t>(fields[2]);
    if (!entry.step) return std::nullopt;
  }
  if (entry.isNote()) {
    if (fields.size() != 4) return std::nullopt;
    entry.note = fields[3];
    return entry;
  }
  if (fields.size() != 7 || fields[5] != kArrow || fields[3].empty()) return std::nullopt;
  entry.name = fields[3];
  entry.before = fields[4];
  entry.after = fields[6];
  return entry;
}

LocalMoment ToLocalMoment(std::int64_t unixMs) {
  const std::time_t seconds = static_cast<std::time_t>(unixMs / 1000 - (unixMs % 1000 < 0 ? 1 : 0));
  const std::int64_t ms = unixMs - static_cast<std::int64_t>(seconds) * 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char day[48];
  std::snprintf(day, sizeof day, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return {day, ((local.tm_hour * 60LL + local.tm_min) * 60 + std::min(local.tm_sec, 59)) * 1000 + ms};
}

std::int64_t WallClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace rmt4
