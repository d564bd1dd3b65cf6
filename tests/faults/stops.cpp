// Stopping the link at random moments: while connecting, identifying,
// reading, in the steady loop, in a job or reconnecting after a pull.
#include <cstdio>
#include <iostream>
#include <thread>

#include "fault_runs.h"
#include "watchdog.h"

namespace rmt4::faults {
namespace {

using namespace std::chrono_literals;

constexpr auto kStopLimit = 1000ms;
constexpr auto kHangLimit = 5s;

enum class Disturbance { None, SaveScene, RecallMode, Unplug };

/// Half the stops come undisturbed; the rest follow a job request or a pull.
Disturbance RandomDisturbance(Random& random) {
  switch (std::uniform_int_distribution<int>(0, 5)(random)) {
    case 0:
      return Disturbance::SaveScene;
    case 1:
      return Disturbance::RecallMode;
    case 2:
      return Disturbance::Unplug;
    default:
      return Disturbance::None;
  }
}

void Disturb(Disturbance disturbance, LinkWorker& worker, FaultRig& rig, int stop, Random& random) {
  switch (disturbance) {
    case Disturbance::SaveScene:
      worker.jobs().SetScenePath((rig.Folder() / ("scene-" + std::to_string(stop) + ".dat")).string());
      worker.jobs().Request(LinkJob::SaveScene);
      break;
    case Disturbance::RecallMode: {
      const int mode = std::uniform_int_distribution<int>(1, kModeCount)(random);
      worker.params()[address::kModeOperation].Edit(static_cast<std::uint16_t>(kRecallRequest | mode));
      worker.jobs().Request(LinkJob::RecallMode);
      break;
    }
    case Disturbance::Unplug:
      (void)rig.Ask("unplug");
      break;
    case Disturbance::None:
      break;
  }
}

}  // namespace

int RunStops(int count, Random& random) {
  FaultRig rig("127.0.9.4", false);
  if (!rig.Ready()) return 1;
  Watchdog watchdog(kHangLimit);
  std::uniform_int_distribution<int> beforeMs(0, 3000);
  std::uniform_int_distribution<int> afterMs(0, 500);
  std::vector<double> stopTimes;
  int slow = 0;
  int disturbed = 0;
  for (int stop = 1; stop <= count; ++stop) {
    CountingOwner owner;
    auto worker = rig.MakeWorker(owner);
    worker->StartLink();
    std::this_thread::sleep_for(std::chrono::milliseconds(beforeMs(random)));
    const Disturbance disturbance = RandomDisturbance(random);
    if (disturbance != Disturbance::None) {
      ++disturbed;
      Disturb(disturbance, *worker, rig, stop, random);
      std::this_thread::sleep_for(std::chrono::milliseconds(afterMs(random)));
    }
    watchdog.Arm("stop " + std::to_string(stop));
    const auto started = Clock::now();
    worker->StopLink();
    const double took = Milliseconds(Clock::now() - started).count();
    worker.reset();
    watchdog.Disarm();
    stopTimes.push_back(took);
    if (took > Milliseconds(kStopLimit).count()) {
      ++slow;
      std::cerr << "stop " << stop << " took " << took << " ms" << std::endl;
    }
  }
  const TimeSummary times = TimeSummary::Of(stopTimes);
  std::printf("stops: %d links stopped 0..3.5 s after starting (%d after a job request or a pull); stop time median "
              "%.1f ms, max %.1f ms; %d over %lld ms\n",
              count, disturbed, times.medianMs, times.maxMs, slow,
              static_cast<long long>(kStopLimit.count()));
  return slow == 0 ? 0 : 1;
}

}  // namespace rmt4::faults
