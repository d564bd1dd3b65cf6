// OSC message in to WriteParams on the wire: an OSC client (liblo) sends
// "/ch3/fader f V" to the OSC server on loopback; the time runs until the
// link hands the console the WriteParams frame for that word. The console is
// the emulator's logic in this process; a small host stores the edits on its
// own thread as the window does. Then a flood: 1000 messages a second for
// 10 s over 24 faders and sends; every one must end at the last value sent
// to it, and the link's meter polling must keep its rate.
//
//   osc_bench [SENDS]
#include <lo/lo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "automation/osc_server.h"
#include "emulator/in_process_console.h"
#include "history/edit_history.h"
#include "lib/headless_link.h"
#include "link/link_worker.h"
#include "protocol/address_map.h"
#include "values/param_catalogue.h"

namespace {

using namespace rmt4;
using WallClock = std::chrono::steady_clock;

constexpr int kFloodPerSecond = 1000;
constexpr int kFloodSeconds = 10;
constexpr double kMedianLimitMs = 25;
// Meter polls during the flood, against before it, that still count as undisturbed.
constexpr double kPollRateKept = 0.9;

std::int64_t Now() { return WallClock::now().time_since_epoch().count(); }

/// The console in this process, noting when a write of the watched word
/// leaves and counting the meter polls.
class TimedConsole final : public emulator::InProcessConsole {
 public:
  TimedConsole(LinkContext& context, emulator::ConsoleResponder& console, std::atomic<int>& watched,
               std::atomic<std::int64_t>& writtenAt, std::atomic<int>& meterPolls)
      : InProcessConsole(context, console), watched_(watched), writtenAt_(writtenAt), meterPolls_(meterPolls) {}

 protected:
  void OnRequest(const FrameView& request, bool) override {
    const auto command = static_cast<Command>(request.command);
    // A meter poll asks for the one meter word.
    if (command == Command::ReadParams && request.payload.size() == 2 &&
        ReadWord(request.payload.data()) == address::kLevelMeters) {
      ++meterPolls_;
    }
    if (command != Command::WriteParams) return;
    ForEachParamEntry(request.payload, [&](ParamEntryData entry) {
      if (static_cast<int>(entry.address) == watched_.load() && writtenAt_.load() == 0) writtenAt_.store(Now());
    });
  }

 private:
  std::atomic<int>& watched_;
  std::atomic<std::int64_t>& writtenAt_;
  std::atomic<int>& meterPolls_;
};

/// Stores the server's edits on its own thread, one undo step per batch, as the window does on its.
class EditingThread final : public OscHost {
 public:
  explicit EditingThread(ParamTable& params) : params_(params), history_(params) {}
  ~EditingThread() override { Stop(); }

  void Run(OscServer& server) {
    thread_ = std::thread([this, &server] {
      std::unique_lock lock(mutex_);
      while (!stopping_) {
        wake_.wait(lock, [this] { return waiting_ || stopping_; });
        waiting_ = false;
        lock.unlock();
        const std::vector<RequestedEdit> edits = server.TakeEdits();
        history_.BeginStep();
        StoreRequestedEdits(params_, edits);
        history_.EndStep();
        lock.lock();
      }
    });
  }
  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

  void EditsWaiting() override {
    {
      const std::lock_guard lock(mutex_);
      waiting_ = true;
    }
    wake_.notify_one();
  }
  OscLinkStatus Status() override { return {"connected", "in-process console", "osc_bench"}; }

 private:
  ParamTable& params_;
  EditHistory history_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool waiting_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

std::string OscPath(ParamAddress address) {
  std::string path = "/" + ParamAt(address).name;
  std::replace(path.begin(), path.end(), '.', '/');
  return path;
}

/// The raw word the console must hold after `db` was sent.
std::uint16_t RawFor(ParamAddress address, float db) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(db));
  return ParseValue(address, text).raw.value_or(0);
}

void PrintMachine(int sends) {
  utsname machine{};
  uname(&machine);
  std::printf("machine: %s %s %s, %ld cores; runs: %d timed sends, %d s flood at %d/s\n", machine.nodename,
              machine.sysname, machine.release, sysconf(_SC_NPROCESSORS_ONLN), sends, kFloodSeconds, kFloodPerSecond);
}

}  // namespace

int main(int argc, char** argv) {
  const int sends = argc > 1 ? std::max(200, std::atoi(argv[1])) : 200;
  std::atomic<int> watched{-1};
  std::atomic<std::int64_t> writtenAt{0};
  std::atomic<int> meterPolls{0};

  emulator::ConsoleResponder console{emulator::ConsoleSettings{}};
  bench::QuietOwner owner;
  LinkWorker::Options options;
  options.makeTransport = [&](ConnectionKind, LinkContext& context, FrameSender&) {
    return std::make_unique<TimedConsole>(context, console, watched, writtenAt, meterPolls);
  };
  options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
  LinkWorker worker(owner, std::move(options));
  if (!bench::StartAndReadAll(worker)) {
    std::fprintf(stderr, "the console was never read\n");
    return 3;
  }

  EditingThread host(worker.params());
  OscServer server(worker.params(), host, OscServerOptions{});
  if (const std::optional<std::string> problem = server.Start()) {
    std::fprintf(stderr, "the OSC server did not start: %s\n", problem->c_str());
    worker.StopLink();
    return 3;
  }
  host.Run(server);
  const lo_address to = lo_address_new("127.0.0.1", std::to_string(server.port()).c_str());

  // Latency: one send at a time, at a random point of the worker's cycle, as a cue fires.
  const ParamAddress fader = *FindParam("ch3.fader");
  watched.store(fader);
  std::vector<double> milliseconds;
  for (int i = 0; i < sends; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(37 + (i * 29) % 61));
    writtenAt.store(0);
    const std::int64_t sent = Now();
    lo_send(to, OscPath(fader).c_str(), "f", static_cast<float>(-30 + i % 2 * 10 - (i % 40) * 0.5));
    while (writtenAt.load() == 0 && Now() - sent < WallClock::duration(std::chrono::seconds(2)).count()) {
      std::this_thread::yield();
    }
    if (writtenAt.load() != 0) {
      milliseconds.push_back(std::chrono::duration<double, std::milli>(WallClock::duration(writtenAt.load() - sent)).count());
    }
  }
  watched.store(-1);

  // The flood, with the meter polls counted over the same time before it.
  std::vector<ParamAddress> flooded;
  for (int channel = 1; channel <= 8; ++channel) {
    for (const char* word : {".fader", ".send.fx1", ".send.fx2"}) {
      flooded.push_back(*FindParam("ch" + std::to_string(channel) + word));
    }
  }
  const auto pollsOver = [&](const std::function<void()>& during) {
    const int before = meterPolls.load();
    during();
    return meterPolls.load() - before;
  };
  const int pollsBefore = pollsOver([] { std::this_thread::sleep_for(std::chrono::seconds(kFloodSeconds)); });
  std::vector<float> lastSent(flooded.size());
  const int pollsDuring = pollsOver([&] {
    const auto start = WallClock::now();
    for (int i = 0; i < kFloodPerSecond * kFloodSeconds; ++i) {
      std::this_thread::sleep_until(start + std::chrono::microseconds(1000000 / kFloodPerSecond) * i);
      const std::size_t k = static_cast<std::size_t>(i) % flooded.size();
      lastSent[k] = static_cast<float>(-60 + (i * 7) % 70 * 0.5);
      lo_send(to, OscPath(flooded[k]).c_str(), "f", lastSent[k]);
    }
  });
  const auto settled = [&] {
    for (std::size_t k = 0; k < flooded.size(); ++k) {
      if (console.Value(flooded[k]) != RawFor(flooded[k], lastSent[k])) return false;
    }
    return true;
  };
  const auto settleBy = WallClock::now() + std::chrono::seconds(3);
  while (!settled() && WallClock::now() < settleBy) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const OscCounters counters = server.counters();

  lo_address_free(to);
  server.Stop();
  host.Stop();
  worker.StopLink();

  PrintMachine(sends);
  bool passed = true;
  if (milliseconds.size() < static_cast<std::size_t>(sends)) {
    std::printf("%zu of %d sends never reached the wire\n", static_cast<std::size_t>(sends) - milliseconds.size(), sends);
    passed = false;
  }
  if (!milliseconds.empty()) {
    std::sort(milliseconds.begin(), milliseconds.end());
    const auto at = [&](double q) { return milliseconds[static_cast<std::size_t>(q * (milliseconds.size() - 1))]; };
    std::printf("OSC to wire: %zu, median %.1f ms (limit %.0f), 95th percentile %.1f ms, max %.1f ms\n",
                milliseconds.size(), at(0.5), kMedianLimitMs, at(0.95), milliseconds.back());
    passed = passed && at(0.5) <= kMedianLimitMs;
  }
  std::size_t wrong = 0;
  for (std::size_t k = 0; k < flooded.size(); ++k) {
    if (console.Value(flooded[k]) == RawFor(flooded[k], lastSent[k])) continue;
    ++wrong;
    std::printf("  %s: console %u, last sent %.1f (raw %u)\n", ParamAt(flooded[k]).name.c_str(), console.Value(flooded[k]),
                static_cast<double>(lastSent[k]), RawFor(flooded[k], lastSent[k]));
  }
  std::printf("flood: %d messages over %zu parameters, %llu packets seen, %llu dropped, %llu refused; %zu not at the last value\n",
              kFloodPerSecond * kFloodSeconds, flooded.size(), static_cast<unsigned long long>(counters.packets),
              static_cast<unsigned long long>(counters.dropped), static_cast<unsigned long long>(counters.refused), wrong);
  const double pollRate = pollsBefore > 0 ? static_cast<double>(pollsDuring) / pollsBefore : 0;
  std::printf("meter polls: %.1f/s before, %.1f/s during the flood (%.0f %%)\n", pollsBefore / double{kFloodSeconds},
              pollsDuring / double{kFloodSeconds}, pollRate * 100);
  passed = passed && wrong == 0 && pollRate >= kPollRateKept;
  std::printf("%s\n", passed ? "passed" : "FAILED");
  return passed ? 0 : 1;
}
