// The day's change log: lines in units read back, rotation by size and age,
// a queue that drops and says so, write errors told, and the reader's filters.
#include "history/change_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include "files/temp_folder.h"
#include "history/change_log_files.h"
#include "history/change_log_reader.h"

namespace rmt4 {
namespace {

using testing::TempFolder;

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

/// Wall-clock milliseconds of a local time on 14 March 2026.
std::int64_t At(int hour, int minute, int second = 0, int ms = 0) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 14;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local)) * 1000 + ms;
}
constexpr std::string_view kDay = "2026-03-14";

ParamAddress LoggedAddress(std::string_view name) { return *FindParam(name); }
std::uint16_t Raw(std::string_view name, std::string_view typed) { return *ParseValue(LoggedAddress(name), typed).raw; }

ChangeRecord Step(std::int64_t unixMs, ChangeSource source, std::uint64_t step, std::vector<ParamChange> changes) {
  return ChangeRecord{unixMs, source, step, std::move(changes)};
}

ChangeLogOptions Options(const std::filesystem::path& folder, ChangeLogLimits limits = {}) {
  ChangeLogOptions options;
  options.folder = folder;
  options.limits = limits;
  // Worked out here: mktime re-reads the time zone, which the writer thread's localtime_r reads too.
  options.now = [now = At(23, 0)] { return now; };
  return options;
}

TEST(ChangeLog, LinesInUnitsRoundTripThroughTheReader) {
  TempFolder folder;
  const ParamAddress fader = LoggedAddress("ch3.fader");
  const ParamAddress effect = LoggedAddress("fx1.param1");
  const ParamAddress type = *ParamAt(effect).readWith;
  {
    ChangeLogOptions options = Options(folder.path());
    options.valueAt = [type](ParamAddress a) { return a == type ? std::uint16_t{8} : std::uint16_t{0}; };
    ChangeLog log(std::move(options));
    log.Record(Step(At(21, 13, 4, 127), ChangeSource::kPc, 12,
                    {{fader, Raw("ch3.fader", "-10dB"), Raw("ch3.fader", "-6dB")}, {effect, 20, 30}}));
    log.Record(Step(At(21, 13, 9, 500), ChangeSource::kConsole, 0, {{LoggedAddress("aux2.mute"), 1, 0}}));
    log.Record(Step(At(21, 14), ChangeSource::kUndo, 12, {{fader, Raw("ch3.fader", "-6dB"), Raw("ch3.fader", "-10dB")}}));
  }
  const ChangeLogDay read = ReadChangeLogDay(folder.path(), kDay);
  ASSERT_TRUE(read.problem.empty()) << read.problem;
  const struct {
    std::string_view time, who, name, before, after;
    std::optional<std::uint64_t> step;
  } expected[] = {
      {"21:13:04.127", "pc", "ch3.fader", "-10.0 dB", "-6.0 dB", 12},
      {"21:13:04.127", "pc", "fx1.param1", "20 (Echo Delay:100ms)", "30 (Echo Delay:150ms)", 12},
      {"21:13:09.500", "console", "aux2.mute", "OFF", "ON", std::nullopt},
      {"21:14:00.000", "undo", "ch3.fader", "-6.0 dB", "-10.0 dB", 12},
  };
  ASSERT_EQ(read.entries.size(), std::size(expected));
  for (std::size_t i = 0; i < read.entries.size(); ++i) {
    const ChangeLogEntry& entry = read.entries[i];
    EXPECT_EQ(FormatTimeOfDay(entry.msOfDay), expected[i].time);
    EXPECT_EQ(entry.who, expected[i].who);
    EXPECT_EQ(entry.step, expected[i].step);
    EXPECT_EQ(entry.name, expected[i].name);
    EXPECT_EQ(entry.before, expected[i].before);
    EXPECT_EQ(entry.after, expected[i].after);
  }

  // A later run of the program starts with the day so far, none of it its own.
  ChangeLog later(Options(folder.path()));
  const std::vector<ChangeLogEntry> today = later.TodaysEntries();
  ASSERT_EQ(today.size(), std::size(expected));
  EXPECT_FALSE(today.front().thisRun);
  later.Record(Step(At(22, 0), ChangeSource::kPc, 1, {{fader, 0, 1}}));
  EXPECT_TRUE(later.TodaysEntries().back().thisRun);
}

TEST(ChangeLogLine, OneEntryIsAlwaysOneLineOfItsOwnFields) {
  ChangeLogEntry entry;
  entry.who = "pc";
  entry.name = "ch1.fader";
  entry.before = "a\tb";
  entry.after = "c\nd";
  const std::string line = FormatChangeLogLine(entry);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  const auto parsed = ParseChangeLogLine(line);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->before, "a b");
  EXPECT_EQ(parsed->after, "c d");
  for (const std::string_view foreign : {"", "21:13:04.127\tpc\t3\tch1.fader\t1\t2", "21:13\tpc\t-\tx\t1\t→\t2",
                                         "25:00:00.000\tpc\t-\tx\t1\t→\t2", "21:13:04.127\tpc\tx\tx\t1\t→\t2",
                                         "21:13:04.127\tlog\t-\tnote\textra"}) {
    EXPECT_FALSE(ParseChangeLogLine(foreign)) << foreign;
  }
}

TEST(ChangeLog, ADayOverThePartLimitContinuesInNumberedPartsUnderATotalCap) {
  TempFolder folder;
  const ParamAddress fader = LoggedAddress("ch1.fader");
  constexpr int kSteps = 40;
  {
    ChangeLog log(Options(folder.path(), {.maxPartBytes = 300, .maxTotalBytes = 100'000}));
    for (int i = 0; i < kSteps; ++i) log.Record(Step(At(10, 0, i), ChangeSource::kPc, i + 1, {{fader, 0, 1}}));
  }
  const std::vector<ChangeLogFile> parts = ListChangeLogFiles(folder.path());
  ASSERT_GT(parts.size(), 3u);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_EQ(parts[i].part, static_cast<int>(i));
    EXPECT_LE(parts[i].bytes, 300u) << parts[i].path;
  }
  const ChangeLogDay read = ReadChangeLogDay(folder.path(), kDay);
  ASSERT_EQ(read.entries.size(), std::size_t{kSteps});
  EXPECT_EQ(read.entries.back().step, std::uint64_t{kSteps});

  // Under a total cap the oldest parts go; the newest lines stay.
  {
    ChangeLog log(Options(folder.path(), {.maxPartBytes = 300, .maxTotalBytes = 700}));
    log.Record(Step(At(11, 0), ChangeSource::kPc, 99, {{fader, 1, 2}}));
  }
  std::uintmax_t total = 0;
  for (const ChangeLogFile& file : ListChangeLogFiles(folder.path())) total += file.bytes;
  EXPECT_LE(total, 700u);
  EXPECT_EQ(ReadChangeLogDay(folder.path(), kDay).entries.back().step, 99u);
}

TEST(ChangeLog, FilesOlderThanTheKeptDaysGoAtStartOthersStay) {
  TempFolder folder;
  const auto dayBefore = [](int days) { return ToLocalMoment(At(12, 0) - days * kMsPerDay).day; };
  for (const int days : {0, 6, 7, 40}) std::ofstream(ChangeLogPath(folder.path(), dayBefore(days), 0)) << "x\n";
  std::ofstream(ChangeLogPath(folder.path(), dayBefore(40), 2)) << "x\n";
  std::ofstream(folder.path() / "notes.txt") << "mine\n";
  { ChangeLog log(Options(folder.path(), {.keepDays = 7})); }
  std::vector<std::string> left;
  for (const ChangeLogFile& file : ListChangeLogFiles(folder.path())) left.push_back(file.day);
  EXPECT_EQ(left, (std::vector<std::string>{dayBefore(6), dayBefore(0)}));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "notes.txt"));
}

TEST(ChangeLog, AFullQueueDropsAndTheLogSaysHowMany) {
  TempFolder folder;
  // The day's file is a pipe nobody reads yet: the writer waits on it, as on a stalled disk.
  const std::filesystem::path pipe = ChangeLogPath(folder.path(), kDay, 0);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  constexpr int kSteps = 50;
  int reader = -1;
  {
    ChangeLog log(Options(folder.path(), {.queuedLines = 5}));
    for (int i = 0; i < kSteps; ++i) log.Record(Step(At(9, 0), ChangeSource::kPc, i + 1, {{LoggedAddress("ch2.pan"), 0, 1}}));
    reader = ::open(pipe.c_str(), O_RDONLY);
  }
  ASSERT_GE(reader, 0);
  std::string written;
  char buffer[4096];
  for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) written.append(buffer, static_cast<std::size_t>(n));
  ::close(reader);

  int changes = 0;
  std::optional<int> dropped;
  for (std::size_t start = 0, end; (end = written.find('\n', start)) != std::string::npos; start = end + 1) {
    const auto entry = ParseChangeLogLine(std::string_view(written).substr(start, end - start));
    ASSERT_TRUE(entry);
    if (!entry->isNote()) {
      ++changes;
    } else {
      dropped = dropped.value_or(0) + std::stoi(entry->note);  // one note each time the writer caught up
      EXPECT_NE(entry->note.find("not written"), std::string::npos);
    }
  }
  ASSERT_TRUE(dropped) << written;
  EXPECT_EQ(changes + *dropped, kSteps);
}

TEST(ChangeLog, AWriteErrorIsToldOnce) {
  TempFolder folder;
  std::ofstream(folder.path() / "file") << "x";
  const struct {
    std::string_view what;
    std::filesystem::path logFolder;
    std::string_view told;
  } cases[] = {
      {"disk full", folder.path() / "full", "No space left on device"},
      {"folder cannot be made", folder.path() / "file" / "rmt4", "Not a directory"},
  };
  std::filesystem::create_directory(folder.path() / "full");
  std::filesystem::create_symlink("/dev/full", ChangeLogPath(folder.path() / "full", kDay, 0));
  for (const auto& c : cases) {
    std::vector<std::string> told;
    {
      ChangeLogOptions options = Options(c.logFolder);
      options.reportProblem = [&told](const std::string& problem) { told.push_back(problem); };
      ChangeLog log(std::move(options));
      for (int i = 0; i < 3; ++i) log.Record(Step(At(9, 0, i), ChangeSource::kPc, 1, {{LoggedAddress("ch1.fader"), 0, 1}}));
    }
    ASSERT_EQ(told.size(), 1u) << c.what;
    EXPECT_NE(told.front().find(c.told), std::string::npos) << told.front();
  }
}

TEST(ChangeLogReader, SinceAndPatternFilterTheDay) {
  TempFolder folder;
  {
    ChangeLog log(Options(folder.path()));
    log.Record(Step(At(20, 59, 59, 999), ChangeSource::kPc, 1, {{LoggedAddress("ch3.fader"), 0, 1}}));
    log.Record(Step(At(21, 0), ChangeSource::kConsole, 0, {{LoggedAddress("ch3.mute"), 0, 1}, {LoggedAddress("aux1.fader"), 0, 1}}));
    log.Record(Step(At(21, 30), ChangeSource::kRedo, 1, {{LoggedAddress("ch3.fader"), 0, 1}}));
  }
  const struct {
    std::optional<std::int64_t> since;
    std::string pattern;
    std::vector<std::string> names;
  } cases[] = {
      {std::nullopt, "", {"ch3.fader", "ch3.mute", "aux1.fader", "ch3.fader"}},
      {ParseHourMinute("21:00"), "", {"ch3.mute", "aux1.fader", "ch3.fader"}},
      {std::nullopt, "CH3.*", {"ch3.fader", "ch3.mute", "ch3.fader"}},
      {ParseHourMinute("21:00"), "*.fad?r", {"aux1.fader", "ch3.fader"}},
      {ParseHourMinute("21:31"), "", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names;
    for (const ChangeLogEntry& entry : ReadChangeLogDay(folder.path(), kDay, {c.since, c.pattern}).entries) {
      names.push_back(entry.name);
    }
    EXPECT_EQ(names, c.names) << c.pattern;
  }
  for (const std::string_view refused : {"24:00", "7", "12:60", "1:2", "ab:cd", "12:00:00"}) {
    EXPECT_FALSE(ParseHourMinute(refused)) << refused;
  }
  EXPECT_EQ(ParseHourMinute("7:05"), (7 * 60 + 5) * 60'000);
}

}  // namespace
}  // namespace rmt4
