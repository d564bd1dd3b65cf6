// Edits over a link that drops and corrupts the console's replies: each one
// ends on the console or is reported as not confirmed, never lost in silence.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <thread>

#include "fault_runs.h"

namespace rmt4::faults {
namespace {

using namespace std::chrono_literals;

constexpr int kBurstEvery = 100;  // edits; the first kBurstLength of each hundred go out without a pause
constexpr int kBurstLength = 20;
constexpr auto kSettleLimit = 120s;

bool AnyDirty(const ParamTable& params) {
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (params[a].Dirty()) return true;
  }
  return false;
}

struct LastEdit {
  std::uint16_t value;
  std::uint64_t stamp;
};

}  // namespace

int RunLossy(int count, Random& random) {
  const std::string seed = std::to_string(random() % 100000);
  FaultRig rig("127.0.9.3", false,
               {"--corrupt-prob", "0.05", "--drop-prob", "0.05", "--pieces", "7", "--seed", seed});
  if (!rig.Ready()) return 1;
  CountingOwner owner;
  const auto worker = rig.MakeWorker(owner);
  worker->StartLink();
  if (!WaitUntil(60s, [&] { return worker->SyncCount() > 0; })) {
    std::cerr << "link_faults: no first complete read over the lossy link" << std::endl;
    worker->StopLink();
    return 1;
  }

  const std::vector<ParamAddress> plain = PlainAddresses();
  std::uniform_int_distribution<std::size_t> pick(0, plain.size() - 1);
  std::uniform_int_distribution<int> value(0, kTopValue);
  std::uniform_int_distribution<int> pauseMs(1, 6);
  std::map<ParamAddress, LastEdit> edits;
  const auto started = Clock::now();
  for (int edit = 0; edit < count; ++edit) {
    const ParamAddress address = plain[pick(random)];
    const auto written = static_cast<std::uint16_t>(value(random));
    ParamSet(worker->params(), address, written);
    // Stamped after the edit: a report for an older edit of the address cannot pass for this one.
    edits[address] = {written, owner.Stamp()};
    if (edit % kBurstEvery >= kBurstLength) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random)));
  }
  const bool settled = WaitUntil(kSettleLimit, [&] { return !AnyDirty(worker->params()); });
  const double settleMs = Milliseconds(Clock::now() - started).count();

  int onConsole = 0;
  int reported = 0;
  int lost = 0;
  for (const auto& [address, last] : edits) {
    const std::optional<std::uint16_t> held = rig.ConsoleValue(address);
    const bool wasReported = owner.LastNotConfirmed(address) > last.stamp;
    if (wasReported) ++reported;
    if (held == last.value) {
      ++onConsole;
    } else if (!wasReported) {
      ++lost;
      std::cerr << "lost: address " << address << " edited to " << last.value << ", console holds "
                << (held ? std::to_string(*held) : std::string("no answer")) << ", mirror "
                << worker->params().Value(address) << std::endl;
    }
  }
  worker->StopLink();

  std::printf("lossy link (5%% of replies dropped, 5%% corrupted, pieces of 1..7 bytes, seed %s): %d edits to %zu "
              "addresses, %s after %.0f ms; last edit on the console %d, reported not confirmed %d, silently lost %d\n",
              seed.c_str(), count, edits.size(), settled ? "all settled" : "STILL DIRTY", settleMs, onConsole, reported,
              lost);
  return settled && lost == 0 ? 0 : 1;
}

}  // namespace rmt4::faults
