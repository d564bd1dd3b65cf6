#include "history/change_log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <system_error>
#include <utility>

#include "history/change_log_files.h"
#include "history/change_log_reader.h"

namespace rmt4 {
namespace {

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

std::string ErrnoText(const std::filesystem::path& path) {
  return path.string() + ": " + std::generic_category().message(errno);
}

std::string Reading(ParamAddress address, std::uint16_t raw, const ValueAt& valueAt) {
  return valueAt ? FormatValue(address, raw, valueAt) : FormatValue(address, raw);
}

std::vector<ChangeLogEntry> Entries(const ChangeRecord& record, std::int64_t msOfDay, const ValueAt& valueAt) {
  std::vector<ChangeLogEntry> entries;
  entries.reserve(record.changes.size());
  for (const ParamChange& change : record.changes) {
    ChangeLogEntry entry;
    entry.msOfDay = msOfDay;
    entry.who = ChangeSourceName(record.source);
    if (record.source != ChangeSource::kConsole) entry.step = record.step;
    entry.thisRun = true;
    if (change.address < kParamCount) {
      entry.name = ParamAt(change.address).name;
      entry.before = Reading(change.address, change.before, valueAt);
      entry.after = Reading(change.address, change.after, valueAt);
    } else {
      entry.name = "addr." + std::to_string(change.address);
      entry.before = std::to_string(change.before);
      entry.after = std::to_string(change.after);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace

ChangeLog::ChangeLog(ChangeLogOptions options) : options_(std::move(options)) {
  LoadToday();
  if (!options_.folder.empty()) writer_ = std::thread([this] { RunWriter(); });
}

ChangeLog::~ChangeLog() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (writer_.joinable()) writer_.join();
  CloseFile();
}

void ChangeLog::LoadToday() {
  if (options_.limits.recentEntries == 0) return;  // nobody will ask for them
  const LocalMoment now = ToLocalMoment(options_.now());
  const std::vector<ChangeLogEntry> earlier = ReadChangeLogDay(options_.folder, now.day).entries;
  Remember(now.day, earlier);
}

void ChangeLog::Record(const ChangeRecord& record) {
  if (record.changes.empty()) return;
  const LocalMoment moment = ToLocalMoment(record.unixMs);
  const std::vector<ChangeLogEntry> entries = Entries(record, moment.msOfDay, options_.valueAt);
  {
    const std::lock_guard lock(mutex_);
    for (const ChangeLogEntry& entry : entries) {
      if (!writer_.joinable()) break;
      if (queue_.size() < options_.limits.queuedLines) {
        queue_.push_back({moment.day, FormatChangeLogLine(entry)});
      } else {
        ++dropped_;
      }
    }
    Remember(moment.day, entries);
  }
  wake_.notify_one();
  const std::lock_guard lock(listenerMutex_);
  if (listener_) listener_(entries);
}

void ChangeLog::Remember(const std::string& day, const std::vector<ChangeLogEntry>& entries) {
  if (day != recentDay_) {
    recent_.clear();
    recentDay_ = day;
  }
  recent_.insert(recent_.end(), entries.begin(), entries.end());
  while (recent_.size() > options_.limits.recentEntries) recent_.pop_front();
}

std::vector<ChangeLogEntry> ChangeLog::TodaysEntries() const {
  const std::lock_guard lock(mutex_);
  if (recentDay_ != ToLocalMoment(options_.now()).day) return {};
  return {recent_.begin(), recent_.end()};
}

void ChangeLog::SetEntryListener(EntryListener listener) {
  const std::lock_guard lock(listenerMutex_);
  listener_ = std::move(listener);
}

void ChangeLog::RunWriter() {
  std::error_code error;
  std::filesystem::create_directories(options_.folder, error);
  if (error) {
    Report(options_.folder.string() + ": " + error.message());
  } else {
    const std::int64_t now = options_.now();
    const std::int64_t keptDays = std::max(options_.limits.keepDays, 1);
    const std::string firstKeptDay = ToLocalMoment(now - (keptDays - 1) * kMsPerDay).day;
    if (std::string problem = PruneChangeLogFiles(options_.folder, firstKeptDay, options_.limits.maxTotalBytes, {});
        !problem.empty()) {
      Report(problem);
    }
  }
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty() || dropped_ > 0; });
    std::vector<QueuedLine> lines(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
    queue_.clear();
    const std::uint64_t dropped = std::exchange(dropped_, 0);
    const bool last = stopping_;
    lock.unlock();
    if (dropped > 0) {
      ChangeLogEntry note;
      const LocalMoment now = ToLocalMoment(options_.now());
      note.msOfDay = now.msOfDay;
      note.who = ChangeLogEntry::kNoteSource;
      note.note = std::to_string(dropped) + " changes were not written: the log could not keep up";
      lines.push_back({now.day, FormatChangeLogLine(note)});
    }
    if (const std::string problem = Write(lines); problem.empty()) {
      problemReported_ = false;
    } else {
      Report(problem);
    }
    lock.lock();
    if (last && queue_.empty() && dropped_ == 0) return;
  }
}

std::string ChangeLog::Write(const std::vector<QueuedLine>& lines) {
  for (const QueuedLine& queued : lines) {
    if (std::string problem = OpenFor(queued.day, queued.line.size() + 1); !problem.empty()) return problem;
    errno = 0;
    if (std::fputs(queued.line.c_str(), file_) < 0 || std::fputc('\n', file_) == EOF) {
      const std::string problem = ErrnoText(ChangeLogPath(options_.folder, fileDay_, filePart_));
      CloseFile();
      return problem;
    }
    fileBytes_ += queued.line.size() + 1;
  }
  if (file_ != nullptr && std::fflush(file_) != 0) {
    const std::string problem = ErrnoText(ChangeLogPath(options_.folder, fileDay_, filePart_));
    CloseFile();
    return problem;
  }
  return {};
}

std::string ChangeLog::OpenFor(const std::string& day, std::size_t nextLineBytes) {
  const bool full = fileBytes_ > 0 && fileBytes_ + nextLineBytes > options_.limits.maxPartBytes;
  if (file_ != nullptr && day == fileDay_ && !full) return {};
  if (file_ != nullptr && day == fileDay_) {
    ++filePart_;
  } else {
    // A day's first file of this run continues its last part, if there is room.
    filePart_ = 0;
    fileBytes_ = 0;
    for (const ChangeLogFile& file : ListChangeLogFiles(options_.folder)) {
      if (file.day != day) continue;
      filePart_ = file.part;
      fileBytes_ = file.bytes;
    }
    if (fileBytes_ > 0 && fileBytes_ + nextLineBytes > options_.limits.maxPartBytes) ++filePart_;
  }
  CloseFile();
  const std::filesystem::path path = ChangeLogPath(options_.folder, day, filePart_);
  std::error_code error;
  std::filesystem::create_directories(options_.folder, error);
  file_ = std::fopen(path.c_str(), "ae");
  if (file_ == nullptr) return ErrnoText(path);
  fileDay_ = day;
  fileBytes_ = std::filesystem::file_size(path, error);
  if (error) fileBytes_ = 0;
  // A file that cannot be deleted is worth saying, not worth losing the line over.
  if (const std::string problem = PruneChangeLogFiles(options_.folder, {}, options_.limits.maxTotalBytes, path);
      !problem.empty()) {
    Report(problem);
  }
  return {};
}

void ChangeLog::CloseFile() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void ChangeLog::Report(const std::string& problem) {
  if (problemReported_) return;
  problemReported_ = true;
  if (options_.reportProblem) options_.reportProblem(problem);
}

}  // namespace rmt4
