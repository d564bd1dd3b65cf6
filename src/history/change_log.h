#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "history/change_log_line.h"
#include "history/param_change.h"
#include "values/param_catalogue.h"

namespace rmt4 {

/// How much the change log may hold and keep waiting.
struct ChangeLogLimits {
  /// A day's file over this continues in a numbered part.
  std::uintmax_t maxPartBytes = std::uintmax_t{4} << 20;
  /// All the log's files together; the oldest go first.
  std::uintmax_t maxTotalBytes = std::uintmax_t{64} << 20;
  /// Files of days before the last `keepDays` are deleted when the log starts.
  int keepDays = 30;
  /// Lines waiting for the disk; more are dropped, counted and said so.
  std::size_t queuedLines = 8192;
  /// Today's entries kept in memory for the History window.
  std::size_t recentEntries = 5000;
};

struct ChangeLogOptions {
  /// Where the day's files go (AppFolders::stateDirectory); made when missing.
  /// Empty (no folder is known): the day is kept in memory only.
  std::filesystem::path folder;
  /// The words other readings depend on (an effect parameter's program type);
  /// empty reads every value on its own.
  ValueAt valueAt;
  ChangeLogLimits limits;
  /// Wall-clock milliseconds since 1970: which day is today when the log starts.
  std::function<std::int64_t()> now = WallClockMs;
  /// Told, on the writer thread and once until a write succeeds again, why the log cannot be written.
  std::function<void(const std::string&)> reportProblem;
};

/// The day's change log: every finished step, one line per changed word,
/// with names and values in units. Record() formats on the caller's thread
/// and only queues the lines; a writer thread of its own puts them on disk,
/// so neither the window nor the link waits for it. Destroying the log
/// writes what is queued and ends the thread.
class ChangeLog final : public ChangeSink {
 public:
  using EntryListener = std::function<void(const std::vector<ChangeLogEntry>&)>;

  explicit ChangeLog(ChangeLogOptions options);
  ~ChangeLog() override;
  ChangeLog(const ChangeLog&) = delete;
  ChangeLog& operator=(const ChangeLog&) = delete;

  void Record(const ChangeRecord& record) override;

  /// Today's entries, oldest first: those of earlier runs found on disk at
  /// start, then this run's (at most ChangeLogLimits::recentEntries).
  [[nodiscard]] std::vector<ChangeLogEntry> TodaysEntries() const;
  /// Told each step's new entries on the thread that recorded it; empty to
  /// stop (once it returns, the listener before is not running and never runs again).
  void SetEntryListener(EntryListener listener);

  [[nodiscard]] const std::filesystem::path& folder() const { return options_.folder; }

 private:
  struct QueuedLine {
    std::string day;
    std::string line;
  };

  void LoadToday();
  void Remember(const std::string& day, const std::vector<ChangeLogEntry>& entries);
  void RunWriter();
  /// Writes `lines`; returns the problem, empty when all went to disk.
  std::string Write(const std::vector<QueuedLine>& lines);
  std::string OpenFor(const std::string& day, std::size_t nextLineBytes);
  void CloseFile();
  void Report(const std::string& problem);

  const ChangeLogOptions options_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<QueuedLine> queue_;
  std::uint64_t dropped_ = 0;
  bool stopping_ = false;
  std::string recentDay_;
  std::deque<ChangeLogEntry> recent_;
  // Held while the listener runs, so that clearing it waits for a call under way.
  std::mutex listenerMutex_;
  EntryListener listener_;

  // The writer thread's own.
  std::FILE* file_ = nullptr;
  std::string fileDay_;
  int filePart_ = 0;
  std::uintmax_t fileBytes_ = 0;
  bool problemReported_ = false;

  std::thread writer_;
};

}  // namespace rmt4
