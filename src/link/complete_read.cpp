// The complete read after connecting, after a mode recall and after a scene
// upload, and the mode-name read that follows it.
#include "link/link_worker.h"

#include <algorithm>

namespace rmt4 {
namespace {

constexpr int kDumpAttempts = 4;
// More than this many values after a dump request: the console is dumping.
constexpr int kDumpStartedCount = 10;
constexpr int kDumpPolls = 20;
// Close enough to everything that the gap-filling passes take over.
constexpr int kDumpNearlyComplete = 1564;
constexpr int kGapFillingPasses = 5;
constexpr int kMissingBatchLimit = 32;

}  // namespace

int LinkWorker::CountReceived() const {
  int count = 0;
  for (ParamAddress a = 0; a < kParamCount; ++a) count += context_.state.params[a].received.load() ? 1 : 0;
  return count;
}

void LinkWorker::ReadAfterConnecting() {
  if (options_.readOnly) {
    ReadNamedParams(*options_.readOnly);
  } else {
    ReadAllAndRefresh();
  }
}

void LinkWorker::ReadNamedParams(const std::vector<ParamAddress>& addresses) {
  ParamTable& params = context_.state.params;
  for (const ParamAddress a : addresses) params[a].rereadRequested.store(true);
  // One round: what is still missing then stays marked, and the steady loop
  // asks for it again every cycle while the command waits for it.
  ReplySignal& reply = context_.state.reply;
  (void)reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));  // no stale wake-up
  reply.awaitingReply.store(true);
  // Other replies (the keep-alive's) wake the wait too: it ends when every
  // value the batch asked for is stored, or at the batch's time limit.
  SendRereadBatches([&](const std::vector<ParamAddress>& batch) {
    Clock& clock = context_.state.clock;
    const std::int64_t deadline = clock.NowMs() + timing_.readBatchWaitMs;
    const auto pending = [&] {
      return std::any_of(batch.begin(), batch.end(), [&](ParamAddress a) { return params[a].rereadRequested.load(); });
    };
    while (pending() && clock.NowMs() < deadline) {
      if (WaitForReply(static_cast<int>(deadline - clock.NowMs())) == Wait::Skipped) break;
    }
  });
  reply.awaitingReply.store(false);
  if (context_.trace.On()) {
    const bool allArrived = std::none_of(addresses.begin(), addresses.end(),
                                         [&](ParamAddress a) { return params[a].rereadRequested.load(); });
    context_.trace.Event("named read", std::to_string(addresses.size()) + " addresses, " +
                                           (allArrived ? "all arrived" : "some missing"));
  }
}

bool LinkWorker::ReadAllParams() {
  LinkState& state = context_.state;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    state.params[a].retryCount.store(0);
    state.params[a].received.store(false);
  }
  const std::uint8_t query = 0;
  Exchange(Command::DeviceQuery, std::span<const std::uint8_t>(&query, 1), 500);

  if (state.device.currentModeLocked.load()) {
    Show(LabelId::UnableToReadEncryptedMode);
    return true;
  }
  if (context_.appRunning.load()) ShowProgress(LabelId::ReadDeviceDataFormat, static_cast<int>(kParamCount));

  // Every pause of the read is there to let values arrive; once all have,
  // it ends. Its length stays the upper bound.
  const auto everythingArrived = [this] { return CountReceived() == static_cast<int>(kParamCount); };
  int shown = 0;
  auto showProgress = [&](int count) {
    if (count > shown) {
      shown = count;
      SetProgressPosition(count);
    }
  };

  // The network module does not dump; serial and USB consoles do, and the
  // passes below only fill the gaps.
  if (context_.connectionKind != kNetwork) {
    for (int attempt = 0; attempt < kDumpAttempts; ++attempt) {
      SendFrame(Command::DumpAll, std::span<const std::uint8_t>(&query, 1));
      PauseUntil(500, everythingArrived);
      if (CountReceived() > kDumpStartedCount) break;
      if (!TransportConnected()) return false;
    }
    for (int poll = 0; poll < kDumpPolls; ++poll) {
      const int count = CountReceived();
      showProgress(count);
      if (count >= kDumpNearlyComplete) break;
      PauseUntil(150, everythingArrived);
    }
  }

  batches_.SetReadCursor(0);
  int counted = 0;
  for (int pass = 0; pass < kGapFillingPasses; ++pass) {
    counted = 0;
    for (ParamAddress a = 0; a < kParamCount; ++a) {
      if (state.params[a].received.load()) {
        ++counted;
      } else {
        state.reply.awaitingReply.store(true);
        batches_.BuildMissingReadBatch(kContinue, kMissingBatchLimit);
        showProgress(counted);
        WaitForReply(timing_.readBatchWaitMs);
        state.reply.awaitingReply.store(false);
      }
      if (!context_.linkUp.load()) break;
    }
    showProgress(counted);
    if (!context_.linkUp.load()) break;
    PauseUntil(30, everythingArrived);
  }

  if (context_.linkUp.load()) {
    SetProgressPosition(counted);
    PauseUntil(10, everythingArrived);
    HideProgress();
    return true;
  }
  HideProgress();
  Show(LabelId::ReadDataFailed);
  return false;
}

void LinkWorker::ReadAllAndRefresh() {
  if (!ReadAllParams()) return;
  LinkOwner& owner = context_.owner;
  if (context_.appRunning.load()) {
    HideProgress();
    ShowProgress(LabelId::UpdateDisplayDataFormat, static_cast<int>(kParamCount));
  }
  Pause(1);
  ParamTable& params = context_.state.params;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (params[a].received.exchange(false)) owner.PostNotify(UiNotify::ValueArrived, a);
    if (a % 31 == 1) SetProgressPosition(a);
  }
  owner.PostNotify(UiNotify::DataReloaded, 0);
  owner.PostNotify(UiNotify::RefreshFinished, 0);
  Pause(100);
  if (context_.appRunning.load()) HideProgress();
}

void LinkWorker::ReadModeNames(int currentMode) {
  ModeNameTable& names = context_.state.modeNames;
  auto request = [this](int mode) {
    const auto payload = static_cast<std::uint8_t>(mode);
    SendFrame(Command::ReadModeName, std::span<const std::uint8_t>(&payload, 1));
    Pause(20);
  };
  for (int mode = 1; mode <= kModeCount; ++mode) {
    names.ClearReceived(mode);
    request(mode);
  }
  for (int round = 0; round < 2; ++round) {
    for (int mode = 1; mode <= kModeCount; ++mode) {
      if (!names.Received(mode)) request(mode);
    }
  }
  if (currentMode > 0) request(currentMode);
  SendReadRequest(address::kCurrentMode);
}

}  // namespace rmt4
