// Complete read over USB HID: the real link worker and HID transport against
// the emulator's console logic behind the fake USB bus of the tests, the
// console sending at most one 64-byte input report a millisecond, as a
// full-speed interrupt endpoint does. Prints every run, the median, the
// wire-time lower bound (input reports during the read x 1 ms) and the ratio.
//
//   hid_read_bench [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

#include "fake_hid_device.h"
#include "link/link_worker.h"
#include "transport/hid_transport.h"

namespace {

using namespace rmt4;
using WallClock = std::chrono::steady_clock;

constexpr std::chrono::microseconds kReportInterval{1000};

/// Notes when the link connected and when its complete read ended, with the
/// bus's report count at both moments.
class TimingOwner final : public LinkOwner {
 public:
  explicit TimingOwner(const test::FakeHidBus& bus) : bus_(bus) {}
  struct Mark {
    WallClock::time_point at;
    std::size_t reports;
  };

  MessageButton ShowMessage(MessageStyle, std::string_view text, std::string_view) override {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    return MessageButton::No;
  }
  void PostNotify(UiNotify code, int) override {
    if (code != UiNotify::RefreshFinished) return;
    std::lock_guard lock(mutex_);
    if (!readDone_) readDone_ = Mark{WallClock::now(), bus_.InputReportsSent()};
  }
  void SendStatus(LinkStatus status) override {
    if (status != LinkStatus::Connected) return;
    std::lock_guard lock(mutex_);
    if (!connected_) connected_ = Mark{WallClock::now(), bus_.InputReportsSent()};
  }
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>&) override { return std::nullopt; }
  void SetProgressMaximum(int) override {}
  void SetProgressFormat(const std::string&) override {}
  void SetProgressPosition(int) override {}
  void ShowProgress() override {}
  void HideProgress() override {}

  [[nodiscard]] std::optional<std::pair<Mark, Mark>> Read() const {
    std::lock_guard lock(mutex_);
    if (!connected_ || !readDone_) return std::nullopt;
    return std::pair{*connected_, *readDone_};
  }

 private:
  const test::FakeHidBus& bus_;
  mutable std::mutex mutex_;
  std::optional<Mark> connected_;
  std::optional<Mark> readDone_;
};

struct RunResult {
  double seconds;
  double wireSeconds;
};

std::optional<RunResult> RunOnce(const std::filesystem::path& folder) {
  emulator::ConsoleResponder console{emulator::ConsoleSettings{}};
  test::FakeHidBus bus(console);
  bus.PaceReports(kReportInterval);
  bus.PlugConsole();
  TimingOwner owner(bus);

  LinkWorker::Options options;
  options.makeTransport = [&](ConnectionKind, LinkContext& context, FrameSender& sender) {
    return std::make_unique<HidTransport>(context, sender, bus.MakeBackend(), folder);
  };
  options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
  options.sceneFolders = AppFolders{folder / "scenes", folder / "fallback"};
  LinkWorker worker(owner, std::move(options));
  worker.StartLink();
  const auto deadline = WallClock::now() + std::chrono::seconds(30);
  while (!owner.Read() && WallClock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  worker.StopLink();

  const auto read = owner.Read();
  if (!read) return std::nullopt;
  const auto& [connected, done] = *read;
  return RunResult{std::chrono::duration<double>(done.at - connected.at).count(),
                   static_cast<double>(done.reports - connected.reports) *
                       std::chrono::duration<double>(kReportInterval).count()};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  // The channel lock of these runs lives in a folder of its own.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("rmt4-hid-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);

  std::vector<double> seconds;
  std::vector<double> wire;
  for (int run = 0; run < runs; ++run) {
    const auto result = RunOnce(folder);
    if (!result) {
      std::fprintf(stderr, "run %d: no complete read within 30 s\n", run + 1);
      std::filesystem::remove_all(folder);
      return 1;
    }
    std::printf("run %d: complete read %.3f s, wire time %.3f s\n", run + 1, result->seconds, result->wireSeconds);
    seconds.push_back(result->seconds);
    wire.push_back(result->wireSeconds);
  }
  std::filesystem::remove_all(folder);

  const double median = Median(seconds);
  const double bound = Median(wire);
  std::printf("complete read after connecting: median %.3f s over %d runs\n", median, runs);
  std::printf("lower bound (input reports x 1 ms): median %.3f s; ratio %.2f\n", bound, median / bound);
  return 0;
}
