#include "protocol/wire_trace.h"

#include <system_error>
#include <utility>

#include "platform/clock.h"
#include "platform/os_result.h"

namespace rmt4 {
namespace {

std::string Problem(std::string_view action, const std::filesystem::path& path, const std::string& reason) {
  return "Wire trace: cannot " + std::string(action) + " " + path.string() + ": " + reason +
         "; going on without a trace.";
}

}  // namespace

void WireTrace::Start(const std::filesystem::path& path, ProblemHandler onProblem) {
  if (path.empty()) return;
  std::string problem;
  ProblemHandler report;
  {
    std::lock_guard lock(mutex_);
    path_ = path;
    onProblem_ = std::move(onProblem);
    startedMs_ = NowMs();
    problem = Open();
    if (problem.empty()) {
      on_.store(true, std::memory_order_release);
    } else {
      report = Stop();
    }
  }
  if (report) report(problem);
}

void WireTrace::Frame(TraceDirection direction, std::span<const std::uint8_t> frame, std::string_view note) {
  if (!On()) return;
  Record([&](std::int64_t elapsedMs) { return FrameRecord(elapsedMs, direction, frame, note); });
}

void WireTrace::Event(std::string_view what, std::string_view detail) {
  if (!On()) return;
  Record([&](std::int64_t elapsedMs) { return EventRecord(elapsedMs, what, detail); });
}

template <typename MakeLine>
void WireTrace::Record(const MakeLine& makeLine) {
  std::string problem;
  ProblemHandler report;
  {
    std::lock_guard lock(mutex_);
    if (!file_) return;  // another thread stopped the trace meanwhile
    problem = Append(makeLine(NowMs() - startedMs_));
    if (!problem.empty()) report = Stop();
  }
  if (report) report(problem);
}

std::string WireTrace::Append(const std::string& line) {
  if (written_ > 0 && written_ + line.size() > limitBytes_) {
    if (std::string problem = Rotate(); !problem.empty()) return problem;
  }
  // Flushed line by line: the trace matters most when the program then hangs or dies.
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() || std::fflush(file_.get()) != 0) {
    return Problem("write", path_, OsResult::FromErrno().Text());
  }
  written_ += line.size();
  return {};
}

std::string WireTrace::Rotate() {
  file_.reset();
  std::filesystem::path older = path_;
  older += ".1";
  std::error_code error;
  std::filesystem::rename(path_, older, error);
  if (error) return Problem("rename", path_, error.message());
  return Open();
}

std::string WireTrace::Open() {
  file_.reset(std::fopen(path_.c_str(), "w"));
  if (!file_) return Problem("open", path_, OsResult::FromErrno().Text());
  written_ = 0;
  return {};
}

WireTrace::ProblemHandler WireTrace::Stop() {
  on_.store(false, std::memory_order_release);
  file_.reset();
  return std::exchange(onProblem_, nullptr);
}

}  // namespace rmt4
