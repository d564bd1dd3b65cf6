#pragma once

// One line of the change log, as written and as read back. Fields are
// separated by tabs, so values with spaces ("-6.0 dB", "REVERB HALL") stay
// whole; a person reads the columns, a program splits on tabs:
//
//   21:13:04.127<TAB>pc<TAB>12<TAB>ch3.fader<TAB>-10.0 dB<TAB>→<TAB>-6.0 dB
//   21:13:09.500<TAB>console<TAB>-<TAB>aux2.mute<TAB>OFF<TAB>→<TAB>ON
//   21:13:10.002<TAB>log<TAB>-<TAB>37 changes were not written: the log could not keep up

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

/// One change (or one note of the log itself) of the day.
struct ChangeLogEntry {
  /// Local time of day, milliseconds since midnight.
  std::int64_t msOfDay = 0;
  /// "pc", "console", "undo", "redo"; "log" for a note of the log itself.
  std::string who;
  /// The undo step of a PC, undo or redo change.
  std::optional<std::uint64_t> step;
  std::string name;
  std::string before;
  std::string after;
  /// The text of a "log" note.
  std::string note;
  /// Made by this run of the program, so its step belongs to this run's undo history.
  bool thisRun = false;

  [[nodiscard]] bool isNote() const { return who == kNoteSource; }
  static constexpr std::string_view kNoteSource = "log";
};

/// The line for `entry`, without the newline. Tabs and line breaks inside a
/// value become spaces, so one entry is always one line of seven fields.
[[nodiscard]] std::string FormatChangeLogLine(const ChangeLogEntry& entry);
/// The entry of a line written by FormatChangeLogLine; none for anything else.
[[nodiscard]] std::optional<ChangeLogEntry> ParseChangeLogLine(std::string_view line);

/// "21:13:04.127".
[[nodiscard]] std::string FormatTimeOfDay(std::int64_t msOfDay);
/// "HH:MM" (00:00..23:59) as milliseconds since midnight; none for anything else.
[[nodiscard]] std::optional<std::int64_t> ParseHourMinute(std::string_view text);

/// A moment in local time: the day ("2026-12-10") and the time of day.
struct LocalMoment {
  std::string day;
  std::int64_t msOfDay = 0;
};
[[nodiscard]] LocalMoment ToLocalMoment(std::int64_t unixMs);
/// Milliseconds since 1970 now, by the wall clock.
[[nodiscard]] std::int64_t WallClockMs();

}  // namespace rmt4
