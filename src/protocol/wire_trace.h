#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "protocol/wire_trace_line.h"

namespace rmt4 {

/// A record of the traffic with the console and of the link's events, one
/// line each, for diagnosing a real console. Every link thread writes to it.
/// While it is off, recording costs one atomic load. The file is bounded:
/// when it would pass the limit it becomes FILE.1 (replacing an older one) and
/// a new FILE starts, so at most two files of about the limit exist.
class WireTrace {
 public:
  /// Receives the reason the trace could not start or had to stop; called at most once.
  using ProblemHandler = std::function<void(std::string_view)>;

  static constexpr std::uintmax_t kDefaultLimitBytes = std::uintmax_t{4} << 20;

  explicit WireTrace(std::uintmax_t limitBytes = kDefaultLimitBytes) : limitBytes_(limitBytes) {}
  WireTrace(const WireTrace&) = delete;
  WireTrace& operator=(const WireTrace&) = delete;

  /// Starts recording into `path`, replacing its content; an empty path leaves
  /// the trace off. Call before any link thread runs.
  void Start(const std::filesystem::path& path, ProblemHandler onProblem);

  [[nodiscard]] bool On() const { return on_.load(std::memory_order_acquire); }

  /// A whole frame as it went out or came in, with an optional note ("dropped: ...").
  void Frame(TraceDirection direction, std::span<const std::uint8_t> frame, std::string_view note = {});
  /// Anything the link layer wants on record; `detail` may hold bytes of the console.
  void Event(std::string_view what, std::string_view detail = {});

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  /// Writes the line `makeLine(elapsedMs)` makes, under the mutex so that lines keep their order.
  template <typename MakeLine>
  void Record(const MakeLine& makeLine);
  // These run under the mutex and return the problem, or an empty text.
  /// Writes one line, rotating first when the line would pass the limit.
  [[nodiscard]] std::string Append(const std::string& line);
  [[nodiscard]] std::string Rotate();
  [[nodiscard]] std::string Open();
  /// Turns the trace off; returns the handler for the caller to call once the mutex is released.
  [[nodiscard]] ProblemHandler Stop();

  const std::uintmax_t limitBytes_;
  std::atomic<bool> on_{false};
  std::mutex mutex_;
  std::filesystem::path path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::uintmax_t written_ = 0;
  std::int64_t startedMs_ = 0;
  ProblemHandler onProblem_;
};

}  // namespace rmt4
