#include "link/link_worker.h"

#include <system_error>

#include "i18n/label_text.h"

namespace rmt4 {
namespace {

constexpr int kIdentifyAttempts = 12;
// After this many idle cycles a keep-alive goes out every fifth cycle.
constexpr int kIdleCyclesBeforeKeepAlive = 15;

}  // namespace

LinkWorker::LinkWorker(LinkOwner& owner, Options options)
    : context_(owner, *options.clock),
      options_(std::move(options)),
      batches_(context_.state.params, *this,
               [this](ParamAddress address) { OnWriteGivenUp(address); }) {}

LinkWorker::~LinkWorker() { StopLink(); }

void LinkWorker::StartLink() {
  if (thread_.joinable()) return;
  context_.state.params.LoadDefaults();
  context_.modules.Clear();
  context_.state.reply.semaphore.Rearm();
  context_.appRunning.store(true);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // The program goes on without a link.
    context_.owner.ShowMessage(MessageStyle::Ok, "创建串口发送线程失败！", {});
  }
}

void LinkWorker::StopLink() {
  context_.linkUp.store(false);
  context_.appRunning.store(false);  // ends every pause of the link threads
  context_.state.reply.semaphore.Interrupt();
  if (LinkTransport* transport = activeTransport_.load()) transport->Close();
  if (thread_.joinable()) thread_.join();
  activeTransport_.store(nullptr);
  transport_.reset();
}

void LinkWorker::Pause(int ms) { (void)context_.appRunning.SleepFor(std::chrono::milliseconds(ms)); }

void LinkWorker::SettlePause(int ms) {
  if (!options_.skipSettlePauses) Pause(ms);
}

void LinkWorker::PauseUntil(int ms, const std::function<bool()>& done) {
  (void)context_.appRunning.SleepUntil(std::chrono::milliseconds(ms), done);
}

void LinkWorker::SendFrame(Command command, std::span<const std::uint8_t> payload) {
  const auto frame = LinkFrame::Build(command, payload);
  LinkTransport* transport = activeTransport_.load();
  if (frame) context_.trace.Frame(TraceDirection::Out, frame->Bytes(), transport ? "" : "dropped: no transport");
  if (!frame || transport == nullptr) return;

  LinkHealth& health = context_.state.health;
  // Module texts are answered by the network module, not the console: they prove nothing.
  if (ConsoleSilent() && command != Command::ModuleText) {
    // Said before the network re-probe, which may take seconds.
    if (context_.shownStatus.load() == LinkStatus::Connected) SendStatus(LinkStatus::NotAnswering);
    // A new connection after silence: the console may have changed meanwhile.
    if (context_.connectionKind == kNetwork && transport->OnSilence()) resyncRequested_.store(true);
    const std::uint8_t misses = health.missCount.load();
    if (misses >= timing_.missLimit) {
      context_.linkUp.store(false);
      health.missCount.store(0);
    } else {
      health.missCount.store(static_cast<std::uint8_t>(misses + 1));
    }
  }
  transport->Send(frame->Bytes());
}

void LinkWorker::Run() {
  // StartLink raised appRunning; raising it here again would undo a StopLink
  // made in between and leave it joining for ever.
  SendStatus(LinkStatus::Starting);
  SettlePause(500);

  const LinkConfiguration configuration =
      options_.readConfiguration ? options_.readConfiguration() : LinkConfiguration{};
  context_.connectionKind = configuration.connectionKind;
  context_.serialBaudRate = configuration.serialBaudRate;
  context_.StartTrace(options_.tracePath.value_or(TracePathFromEnvironment()));
  if (!context_.appRunning.load()) return;
  SendStatus(LinkStatus::Starting);

  transport_ = options_.makeTransport(context_.connectionKind, context_, *this);
  if (!transport_) return;
  activeTransport_.store(transport_.get());

  while (context_.appRunning.load()) {
    timing_ = TimingFor(context_.connectionKind);
    context_.state.health.lastReplyTick.store(context_.state.clock.NowMs());
    transport_->Connect();
    if (!context_.appRunning.load()) return;
    context_.linkUp.store(true);

    if (Identify() == Identification::Restart) continue;
    if (!context_.appRunning.load()) return;
    SendKeepAlive();
    SettlePause(500);

    const std::vector<ParamAddress> dropped = context_.state.params.ClearReceivedAndDirty();
    context_.linkUp.store(true);
    // The owner has shown the status when this returns, so the read (and
    // its progress window) can follow at once.
    SendStatus(LinkStatus::Connected);
    ReportDroppedEdits(dropped);

    ReadAfterConnecting();
    if (!options_.readOnly) {
      ReadModeNames(context_.state.params.Value(address::kCurrentMode) & 0xFF);
      SettlePause(500);
    }

    resyncRequested_.store(false);
    syncCount_.fetch_add(1);
    SteadyLoop();
    context_.linkUp.store(false);
    SendStatus(LinkStatus::Searching);
  }
}

LinkWorker::Identification LinkWorker::Identify() {
  LinkState& state = context_.state;
  for (int attempt = 0; attempt < kIdentifyAttempts; ++attempt) {
    // The connect probe already read address 0 from the console.
    if (state.params.Value(address::kDeviceType) == kSupportedDeviceType) return Identification::Identified;
    const std::uint8_t query = 0;
    Exchange(Command::DeviceQuery, std::span<const std::uint8_t>(&query, 1), 500);
    SendReadRequest(address::kDeviceType);
    Pause(40);
    if (state.device.deviceType.load() == kSupportedDeviceType) return Identification::Identified;
    if (!TransportConnected() || state.health.missCount.load() >= timing_.missLimit - 2) {
      return Identification::Restart;
    }
    // The link dropped meanwhile: carry on, the steady loop notices and reconnects.
    if (!context_.linkUp.load()) return Identification::Identified;
    if (!context_.appRunning.load()) return Identification::Restart;
  }
  Pause(2000);
  return Identification::Restart;
}

void LinkWorker::SteadyLoop() {
  int moduleCursor = 0;
  int writeCursor = 0;
  int idle = 0;
  postedMeterWord_.reset();
  while (context_.appRunning.load() && context_.linkUp.load() &&
         context_.state.health.missCount.load() < timing_.missLimit) {
    if (context_.shownStatus.load() == LinkStatus::NotAnswering && !ConsoleSilent()) SendStatus(LinkStatus::Connected);
    if (resyncRequested_.exchange(false)) Resync();
    if (context_.connectionKind != kNetwork) ServeModuleCommand(moduleCursor, idle);
    ServeWrites(writeCursor, idle);
    ServeRereads();
    PostArrivals();
    RunRequestedJobs(idle);
    IdleWork(idle);
  }
}

void LinkWorker::Resync() {
  const ParamTable& params = context_.state.params;
  context_.trace.Event("resync", "reconnected: writing pending edits, then reading everything again");
  // Edits made while the link was down go out first: the complete read would
  // otherwise replace them with the console's older values.
  int cursor = 0;
  int idle = 0;
  constexpr int kFlushBatches = 2 * static_cast<int>(kParamCount) / kMaxWriteEntries;
  for (int batch = 0; batch < kFlushBatches && params.CountDirty() > 0 && context_.linkUp.load(); ++batch) {
    ServeWrites(cursor, idle);
  }
  ReadAfterConnecting();
  syncCount_.fetch_add(1);
}

void LinkWorker::ReportDroppedEdits(const std::vector<ParamAddress>& dropped) {
  for (const ParamAddress address : dropped) {
    // The mode operation word carries the link's own requests, not the user's edits.
    if (address == address::kModeOperation) continue;
    ReportEditNotConfirmed("dropped", "edit of address " + std::to_string(address) + " made while disconnected",
                           address);
  }
}

void LinkWorker::OnWriteGivenUp(ParamAddress address) {
  // The mirror goes back to what the console holds.
  context_.state.params[address].rereadRequested.store(true);
  ReportEditNotConfirmed("given up", "write to address " + std::to_string(address) + " never acknowledged",
                         address);
}

void LinkWorker::ReportEditNotConfirmed(std::string_view what, const std::string& detail, ParamAddress address) {
  context_.trace.Event(what, detail);
  context_.owner.PostNotify(UiNotify::EditNotConfirmed, address);
}

void LinkWorker::ServeModuleCommand(int& cursor, int& idle) {
  ModuleCommandTable& modules = context_.modules;
  if (cursor > ModuleCommandTable::kLastSendableSlot) cursor = 0;
  if (const auto slot = modules.FindPending(cursor)) {
    cursor = *slot;
    if (modules.CountLinkSend(*slot)) {
      const std::string text = modules.Text(*slot);
      const Wait wait = Exchange(Command::ModuleText,
                                 std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                                 timing_.replyWaitMs);
      if (wait == Wait::TimedOut && !TransportConnected()) {
        if (context_.appRunning.load()) HideProgress();
        context_.linkUp.store(false);
      }
    }
    idle = 0;
  } else {
    cursor = ModuleCommandTable::kLastSendableSlot + 1;
  }
  modules.ShowModuleConfirmations(context_.owner);
}

void LinkWorker::ServeWrites(int& cursor, int& idle) {
  ParamTable& params = context_.state.params;
  if (cursor >= static_cast<int>(kParamCount)) cursor = 0;
  int dirty = cursor;
  while (dirty < static_cast<int>(kParamCount) && !params[static_cast<ParamAddress>(dirty)].Dirty()) ++dirty;
  if (dirty == static_cast<int>(kParamCount)) {
    cursor = dirty;
    return;
  }
  cursor = dirty;
  ReplySignal& reply = context_.state.reply;
  (void)reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));  // no stale wake-up
  reply.awaitingReply.store(true);
  batches_.BuildWriteBatch(static_cast<ParamAddress>(dirty), kMaxWriteEntries);
  const Wait wait = WaitForReply(timing_.replyWaitMs);
  reply.awaitingReply.store(false);
  if (wait == Wait::TimedOut && !TransportConnected()) {
    if (context_.appRunning.load()) HideProgress();
    context_.linkUp.store(false);
  }
  idle = 0;
}

void LinkWorker::ServeRereads() { SendRereadBatches([this](const std::vector<ParamAddress>&) { Pause(30); }); }

void LinkWorker::SendRereadBatches(const std::function<void(const std::vector<ParamAddress>& batch)>& afterBatch) {
  ParamTable& params = context_.state.params;
  constexpr std::size_t kRereadBatch = 24;
  std::vector<ParamAddress> batch;
  for (int a = 0; a < static_cast<int>(kParamCount);) {
    // The marked addresses this batch asks for, taken before it is sent:
    // replies clear the marks while `afterBatch` runs. The next batch
    // continues after them instead of asking for them again.
    batch.clear();
    for (; a < static_cast<int>(kParamCount) && batch.size() < kRereadBatch; ++a) {
      if (params[static_cast<ParamAddress>(a)].rereadRequested.load()) batch.push_back(static_cast<ParamAddress>(a));
    }
    if (batch.empty()) break;
    batches_.BuildRereadBatch(batch.front());
    afterBatch(batch);
  }
}

void LinkWorker::PostArrivals() {
  ParamTable& params = context_.state.params;
  // The owner clears its meters while the console is not answering: the next word must reach it.
  if (context_.shownStatus.load() != LinkStatus::Connected) postedMeterWord_.reset();
  // Address 0 is never posted: only the connect probe and identification care about it.
  for (ParamAddress a = 1; a < kParamCount; ++a) {
    if (!params[a].received.exchange(false)) continue;
    // The meters are polled 20 times a second; a word the owner already has
    // would wake it for nothing (a quiet console answers the same all day).
    if (a == address::kLevelMeters) {
      const std::uint16_t word = params.Value(a);
      if (word == postedMeterWord_) continue;
      postedMeterWord_ = word;
    }
    context_.owner.PostNotify(UiNotify::ValueArrived, a);
  }
}

void LinkWorker::RunRequestedJobs(int& idle) {
  for (int job = LinkJobs::kFirst; job <= LinkJobs::kLast; ++job) {
    if (!jobs_.Requested(job)) continue;
    Pause(100);
    jobs_.Take(job);
    RunJob(job, idle);
    finishedJobs_.fetch_add(1);
  }
}

// Ends each cycle of the steady loop with its one sleep: the cycle's work
// follows the meter request 50 ms later. One wake-up per cycle, not two, is
// most of what the link costs while nothing changes.
void LinkWorker::IdleWork(int& idle) {
  if (idle < kIdleCyclesBeforeKeepAlive) {
    ++idle;
    SendReadRequest(address::kLevelMeters);
    Pause(50);
  } else {
    idle = 10;
    SendKeepAlive();
    Pause(10);
    SendReadRequest(address::kLevelMeters);
    Pause(40);
  }
}

bool LinkWorker::ConsoleSilent() const {
  return context_.state.clock.NowMs() - context_.state.health.lastReplyTick.load() >= timing_.silenceLimitMs;
}

bool LinkWorker::TransportConnected() const {
  const LinkTransport* transport = activeTransport_.load();
  return transport != nullptr && transport->IsConnected();
}

LinkWorker::Wait LinkWorker::WaitForReply(int timeoutMs) {
  if (!TransportConnected()) return Wait::Skipped;
  return context_.state.reply.semaphore.TryAcquireFor(std::chrono::milliseconds(timeoutMs)) ? Wait::Signalled
                                                                                              : Wait::TimedOut;
}

LinkWorker::Wait LinkWorker::Exchange(Command command, std::span<const std::uint8_t> payload, int timeoutMs) {
  ReplySignal& reply = context_.state.reply;
  (void)reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));  // no stale wake-up
  reply.awaitingReply.store(true);
  SendFrame(command, payload);
  const Wait wait = WaitForReply(timeoutMs);
  reply.awaitingReply.store(false);
  return wait;
}

bool LinkWorker::SendUntilAcknowledged(Command command, std::span<const std::uint8_t> payload, int timeoutMs,
                                       int pauseBeforeWaitMs) {
  ReplySeenFlags& seen = context_.state.replySeen;
  ReplySignal& reply = context_.state.reply;
  seen.Clear(command);
  constexpr int kTries = 3;
  for (int attempt = 0; attempt < kTries && context_.appRunning.load(); ++attempt) {
    (void)reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));
    reply.awaitingReply.store(true);
    SendFrame(command, payload);
    if (pauseBeforeWaitMs > 0) Pause(pauseBeforeWaitMs);
    // Other replies wake the wait too; only the acknowledgement flag counts.
    Clock& clock = context_.state.clock;
    const auto deadline = clock.NowMs() + timeoutMs;
    while (!seen.Seen(command) && clock.NowMs() < deadline && context_.appRunning.load()) {
      if (WaitForReply(static_cast<int>(deadline - clock.NowMs())) == Wait::Skipped) break;
    }
    reply.awaitingReply.store(false);
    if (seen.Seen(command)) return true;
  }
  return false;
}

void LinkWorker::SendReadRequest(ParamAddress address) {
  std::vector<std::uint8_t> payload;
  AppendWord(payload, address);
  SendFrame(Command::ReadParams, payload);
}

void LinkWorker::SendKeepAlive() {
  ParamTable& params = context_.state.params;
  if (!params.CountSend(address::kKeepAlive)) params[address::kKeepAlive].ClearDirty();
  std::vector<std::uint8_t> payload;
  AppendWord(payload, address::kKeepAlive);
  AppendWord(payload, 1);
  SendFrame(Command::WriteParams, payload);
}

MessageButton LinkWorker::Show(LabelId text, MessageStyle style, std::string_view caption) {
  return context_.owner.ShowMessage(style, LabelText(text), caption);
}

void LinkWorker::ShowProgress(LabelId format, int maximum) { ShowProgressText(std::string(LabelText(format)), maximum); }

void LinkWorker::ShowProgressText(const std::string& format, int maximum) {
  LinkOwner& owner = context_.owner;
  owner.SetProgressMaximum(maximum);
  owner.SetProgressFormat(format);
  owner.SetProgressPosition(0);
  owner.ShowProgress();
}

void LinkWorker::SetProgressPosition(int position) {
  if (context_.appRunning.load()) context_.owner.SetProgressPosition(position);
}

void LinkWorker::HideProgress() {
  context_.owner.HideProgress();
  context_.owner.PostNotify(UiNotify::ProgressHidden, 0);
}

void LinkWorker::SendStatus(LinkStatus status) {
  if (context_.appRunning.load()) context_.SendStatus(status);
}

}  // namespace rmt4
