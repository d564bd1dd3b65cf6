// Cable pulls: after each, a change made on the console while the cable was
// out must reach the mirror, an edit made on the PC meanwhile must reach the
// console (over serial it may instead be reported not confirmed; a network
// reconnect sends it), and the reconnect must leave no descriptor or thread
// behind.
#include <cstdio>
#include <iostream>

#include "fault_runs.h"

namespace rmt4::faults {
namespace {

using namespace std::chrono_literals;

constexpr int kFaderOffset = 4;  // in an input channel's block
constexpr int kInputChannels = 10;
constexpr std::uint16_t kTopLevel = 1300;
constexpr auto kChangeLimit = 20s;

/// An input fader other than `other`'s: a plain level the console stores as it is.
ParamAddress RandomFader(Random& random, std::optional<ParamAddress> other = std::nullopt) {
  std::uniform_int_distribution<int> channel(0, kInputChannels - 1);
  while (true) {
    const auto fader = static_cast<ParamAddress>(InputBlockBase(channel(random)) + kFaderOffset);
    if (fader != other) return fader;
  }
}

}  // namespace

int RunPulls(int count, bool serial, Random& random) {
  const char* over = serial ? "serial" : "network";
  FaultRig rig(serial ? "127.0.9.2" : "127.0.9.1", serial);
  if (!rig.Ready()) return 1;
  CountingOwner owner;
  const auto worker = rig.MakeWorker(owner);
  worker->StartLink();
  if (!WaitUntil(kChangeLimit, [&] { return worker->SyncCount() > 0; })) {
    std::cerr << "link_faults: no first complete read over " << over << std::endl;
    worker->StopLink();
    return 1;
  }
  const ProcessCounts baseline = ProcessCounts::Now();

  int misses = 0;
  int editsWritten = 0;
  int editsReported = 0;
  int editsLost = 0;
  int reconnects = 0;
  int drifting = 0;
  ProcessCounts worst;
  std::vector<double> changeTimes;
  for (int pull = 1; pull <= count; ++pull) {
    const ParamAddress fader = RandomFader(random);
    const std::uint16_t value = FreshValue(random, worker->params().Value(fader), kTopLevel);
    const std::uint64_t arrivalsBefore = owner.Arrivals(fader);
    const int syncsBefore = worker->SyncCount();

    const auto pulled = Clock::now();
    const std::string unplugged = rig.Ask("unplug");
    const std::string changed = rig.Ask("set " + std::to_string(fader) + ' ' + std::to_string(value));
    const ParamAddress edited = RandomFader(random, fader);
    const std::uint16_t edit = FreshValue(random, worker->params().Value(edited), kTopLevel);
    ParamSet(worker->params(), edited, edit);
    const std::uint64_t editStamp = owner.Stamp();
    const bool seen = WaitUntil(kChangeLimit, [&] {
      return worker->params().Value(fader) == value && owner.Arrivals(fader) > arrivalsBefore;
    });
    const double took = Milliseconds(Clock::now() - pulled).count();
    if (!unplugged.starts_with("ok") || changed != "ok" || !seen) {
      ++misses;
      std::cerr << "pull " << pull << ": unplug answered '" << unplugged << "', set answered '" << changed
                << "', mirror " << fader << " = " << worker->params().Value(fader) << " (console " << value << ")"
                << (seen ? "" : ", not seen within 20 s") << std::endl;
    } else {
      changeTimes.push_back(took);
    }
    // The reconnect settles once the worker is back in step and the transient threads are gone.
    if (WaitUntil(kChangeLimit, [&] { return worker->SyncCount() > syncsBefore; })) ++reconnects;
    WaitUntil(kChangeLimit, [&] { return !worker->params()[edited].Dirty(); });
    if (rig.ConsoleValue(edited) == edit) {
      ++editsWritten;
    } else if (serial && owner.LastNotConfirmed(edited) > editStamp) {
      ++editsReported;
    } else {
      ++editsLost;
      std::cerr << "pull " << pull << ": the edit " << edited << " = " << edit << " made while the cable was out "
                << (serial ? "neither reached the console nor was reported" : "did not reach the console after the reconnect")
                << " (mirror " << worker->params().Value(edited) << ")"
                << std::endl;
    }
    WaitUntil(3s, [&] { return ProcessCounts::Now() == baseline; });
    const ProcessCounts now = ProcessCounts::Now();
    if (now != baseline) {
      ++drifting;
      std::cerr << "pull " << pull << ": " << now.fds - baseline.fds << " descriptors and "
                << now.threads - baseline.threads << " threads more than after the first connect" << std::endl;
    }
    worst.fds = std::max(worst.fds, now.fds - baseline.fds);
    worst.threads = std::max(worst.threads, now.threads - baseline.threads);
  }
  worker->StopLink();

  const TimeSummary times = TimeSummary::Of(changeTimes);
  std::printf("pulls over %s: %d pulls, %d reconnects seen, %d changes missed; edits made meanwhile: %d written, %d reported not confirmed, %d silently lost; unplug to change seen: median %.0f ms, "
              "max %.0f ms; drift after a pull: %ld descriptors, %ld threads (%d pulls drifted)\n",
              over, count, reconnects, misses, editsWritten, editsReported, editsLost, times.medianMs, times.maxMs, worst.fds, worst.threads, drifting);
  return misses == 0 && editsLost == 0 && drifting == 0 ? 0 : 1;
}

}  // namespace rmt4::faults
