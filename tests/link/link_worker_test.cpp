#include <gtest/gtest.h>

#include "i18n/label_text.h"
#include "link_fixture.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

class LinkWorkerTest : public LinkFixture {};

TEST_F(LinkWorkerTest, ConnectsIdentifiesAndReadsEverything) {
  (void)console_.ChangeFromConsole(136, 1111);  // differs from the default
  StartConnected();

  const auto statuses = owner_.Statuses();
  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ(statuses[0], LinkStatus::Starting);
  EXPECT_EQ(statuses.back(), LinkStatus::Connected);
  EXPECT_TRUE(worker_->linkUp());

  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a == address::kLevelMeters) continue;  // moves with every poll
    ASSERT_EQ(Params().Value(a), console_.Value(a)) << "address " << a;
  }
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.NotifiedLocked(UiNotify::ValueArrived, 136); }));
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.NotifiedLocked(UiNotify::DataReloaded, 0); }));
  EXPECT_GE(Console().CountSent(Command::DumpAll), 1) << "USB reads start with a dump";
  const auto progress = owner_.ProgressCalls();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "format " + std::string(LabelText(LabelId::ReadDeviceDataFormat))),
            progress.end());
}

TEST_F(LinkWorkerTest, NetworkReadFillsGapsWithoutDumping) {
  StartConnected(kNetwork);
  EXPECT_EQ(Console().CountSent(Command::DumpAll), 0);
  EXPECT_EQ(Params().Value(1573), console_.Value(1573));
  // 1574 addresses in batches of 25.
  EXPECT_GE(Console().CountSent(Command::ReadParams), 63);
}

TEST_F(LinkWorkerTest, EditsReachTheConsoleAndAreAcknowledged) {
  StartConnected();
  ParamSet(Params(), 136, 1000);
  ParamSet(Params(), 970, 800);  // MAIN fader: its twin at 1038 follows
  EXPECT_TRUE(Eventually([&] { return console_.Value(136) == 1000 && console_.Value(1038) == 800; }));
  EXPECT_TRUE(Eventually([&] { return !Params()[136].Dirty() && !Params()[970].Dirty() && !Params()[1038].Dirty(); }));
  for (const auto& payload : Console().Payloads(Command::WriteParams)) EXPECT_LE(payload.size(), 96u);
}

TEST_F(LinkWorkerTest, ManyEditsGoOutInBatchesOfAtMostTwentyFour) {
  StartConnected();
  for (ParamAddress a = 562; a < 562 + 60; ++a) ParamSet(Params(), a, 5);
  EXPECT_TRUE(Eventually([&] { return console_.Value(562 + 59) == 5 && console_.Value(562) == 5; }));
  std::size_t largest = 0;
  for (const auto& payload : Console().Payloads(Command::WriteParams)) largest = std::max(largest, payload.size());
  EXPECT_EQ(largest, 96u);
}

/// A moment of the idle worker's cycle, told by the frame it sends then.
struct EditMoment {
  const char* name;
  Command command;
  ParamAddress address;  // the first word of the frame's payload
};

/// Once armed, makes one edit on the link's table as the worker sends the
/// frame of `moment` (a user's click falls at any moment of the cycle) and
/// notes when, on the link's clock.
class EditingConsole final : public InProcessConsole {
 public:
  EditingConsole(LinkContext& context, emulator::ConsoleResponder& console, EditMoment moment)
      : InProcessConsole(context, console), moment_(moment) {}

  static constexpr ParamAddress kAddress = 136;
  static constexpr std::uint16_t kValue = 1000;

  void Arm() { armed_.store(true); }
  /// When the edit was made; 0 while it is not.
  [[nodiscard]] std::int64_t EditedAtMs() const { return editedAtMs_.load(); }

 protected:
  void OnRequest(const FrameView& request, bool answered) override {
    InProcessConsole::OnRequest(request, answered);
    if (request.command != static_cast<std::uint8_t>(moment_.command) || request.payload.size() < 2 ||
        ReadWord(request.payload.data()) != moment_.address || !armed_.exchange(false)) {
      return;
    }
    editedAtMs_.store(context().state.clock.NowMs());
    ParamSet(context().state.params, kAddress, kValue);
  }

 private:
  const EditMoment moment_;
  std::atomic<bool> armed_{false};
  std::atomic<std::int64_t> editedAtMs_{0};
};

class EditTimingTest : public LinkFixture, public ::testing::WithParamInterface<EditMoment> {};

// Measured on the link's simulated clock, so a loaded machine cannot make
// it pass or fail: the edit waits for no poll and no retry, whenever it falls.
TEST_P(EditTimingTest, AnEditIsWrittenOnceWithinOneIdleCycle) {
  std::atomic<EditingConsole*> editing{nullptr};
  adjustOptions_ = [&](LinkWorker::Options& options) {
    options.makeTransport = [&](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<EditingConsole>(context, console_, GetParam());
      editing.store(transport.get());
      transport_.store(transport.get());
      return transport;
    };
  };
  StartConnected();
  editing.load()->Arm();
  ASSERT_TRUE(Eventually([&] {
    return console_.Value(EditingConsole::kAddress) == EditingConsole::kValue && !Params()[EditingConsole::kAddress].Dirty();
  })) << "the edit never reached the console";

  std::vector<std::int64_t> writes;
  for (const auto& request : Console().Requests()) {
    if (request.command != static_cast<std::uint8_t>(Command::WriteParams)) continue;
    ForEachParamEntry(request.payload, [&](const ParamEntryData& entry) {
      if (entry.address == EditingConsole::kAddress) writes.push_back(request.atMs);
    });
  }
  ASSERT_EQ(writes.size(), 1u) << "written once, acknowledged at once: no retry";
  // The steady loop's idle cycle: 10 ms before it writes, 40 after it polls the meters.
  constexpr std::int64_t kIdleCycleMs = 50;
  EXPECT_LE(writes.front() - editing.load()->EditedAtMs(), kIdleCycleMs);
}

INSTANTIATE_TEST_SUITE_P(AtAnyMomentOfTheCycle, EditTimingTest,
                         ::testing::Values(EditMoment{"MeterPoll", Command::ReadParams, address::kLevelMeters},
                                           EditMoment{"KeepAlive", Command::WriteParams, address::kKeepAlive}),
                         [](const auto& each) { return std::string(each.param.name); });

TEST_F(LinkWorkerTest, ConsoleSideChangesReachTheOwner) {
  StartConnected();
  Console().ChangeOnConsole(260, 777);
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.NotifiedLocked(UiNotify::ValueArrived, 260); }));
  EXPECT_EQ(Params().Value(260), 777);
}

TEST_F(LinkWorkerTest, IdleLinkPollsMetersEveryCycleAndKeepsAliveAfterFivePlainCycles) {
  StartConnected();
  const std::size_t before = Console().Sent().size();
  const auto keepAlive = static_cast<std::uint8_t>(Command::WriteParams);
  // Counted in cycles, not in time: any machine speed gives the same pattern.
  ASSERT_TRUE(Eventually([&] {
    const auto sent = Console().Sent();
    return std::count(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end(), keepAlive) >= 3;
  }));
  const auto sent = Console().Sent();
  std::vector<std::size_t> keepAlives;
  for (std::size_t i = before; i < sent.size(); ++i) {
    if (sent[i] == keepAlive) keepAlives.push_back(i);
  }
  EXPECT_EQ(Console().Payloads(Command::WriteParams).back(), (std::vector<std::uint8_t>{0x04, 0xB6, 0x00, 0x01}));
  for (std::size_t k = 1; k < keepAlives.size(); ++k) {
    const auto polls = std::count(sent.begin() + static_cast<std::ptrdiff_t>(keepAlives[k - 1]),
                                  sent.begin() + static_cast<std::ptrdiff_t>(keepAlives[k]),
                                  static_cast<std::uint8_t>(Command::ReadParams));
    // The keep-alive's own cycle polls too, then five plain cycles follow.
    EXPECT_EQ(polls, 6) << "a meter poll every cycle, five plain cycles between keep-alives";
  }
}

TEST_F(LinkWorkerTest, ModuleCommandsOverUsbAreAnsweredOrGivenUpAfterNineSends) {
  StartConnected();
  ModuleCommandTable& modules = worker_->context().modules;
  modules.SetModuleCommand(ModuleCommandTable::kGetConfig, "Get_Confi:");
  EXPECT_TRUE(Eventually([&] { return modules.Done(ModuleCommandTable::kGetConfig); }));
  EXPECT_FALSE(modules.Pending(ModuleCommandTable::kGetConfig));

  constexpr int kUnanswered = 5;
  const int before = Console().CountSent(Command::ModuleText);
  modules.SetModuleCommand(kUnanswered, "Get_Nothing:");  // the module has no such command
  EXPECT_TRUE(Eventually([&] { return !modules.Pending(kUnanswered); })) << "given up";
  EXPECT_EQ(Console().CountSent(Command::ModuleText) - before, 9);
  EXPECT_TRUE(worker_->linkUp()) << "an unanswered module text is no sign of a lost console";
}

TEST_F(LinkWorkerTest, SilentConsoleDropsTheLinkAndItComesBack) {
  StartConnected();
  Console().SetSilent(true);
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::Searching) >= 1; }))
      << "silence must be noticed";
  EXPECT_FALSE(worker_->linkUp());
  Console().SetSilent(false);
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::Connected) >= 2; }));
}

/// A network module that takes five seconds to reconnect after silence, as a
/// real re-probe without answer does.
struct SlowReprobeConsole : InProcessConsole {
  using InProcessConsole::InProcessConsole;
  bool OnSilence() override {
    (void)context().appRunning.SleepFor(5000ms);
    return true;
  }
};

class NotAnsweringTest : public LinkFixture, public ::testing::WithParamInterface<ConnectionKind> {};

TEST_P(NotAnsweringTest, SilenceIsShownWithinFiveSecondsAndAnswersShowConnectedAgain) {
  adjustOptions_ = [this](LinkWorker::Options& options) {
    options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<SlowReprobeConsole>(context, console_);
      transport_.store(transport.get());
      return transport;
    };
  };
  std::atomic<std::int64_t> shownAt{0};
  owner_.OnStatus([&](LinkStatus status) {
    if (status != LinkStatus::NotAnswering) return;
    shownAt.store(virtualClock_.NowMs());
    Console().SetSilent(false);  // it answers the very frame that noticed
  });
  StartConnected(GetParam());
  Console().SetSilent(true);
  ASSERT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::NotAnswering) >= 1; }))
      << "a silent console must be reported";
  std::int64_t lastAnswer = 0;
  for (const auto& request : Console().Requests()) {
    if (request.answered && request.atMs <= shownAt.load()) lastAnswer = request.atMs;
  }
  EXPECT_LE(shownAt.load() - lastAnswer, 5000);
  ASSERT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::Connected) >= 2; }));
  const auto statuses = owner_.Statuses();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), LinkStatus::Searching), 0) << "the link was not lost";
}

INSTANTIATE_TEST_SUITE_P(PerConnectionKind, NotAnsweringTest,
                         ::testing::Values(kUsbHid, kNetwork, kSerialLongTiming),
                         [](const auto& each) { return KindName(each.param); });

TEST_F(LinkWorkerTest, PulledCableSearchesUntilPluggedAgain) {
  StartConnected();
  const std::size_t connects = Console().ConnectStarts().size();
  Console().SetPlugged(false);
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::Searching) >= 1; }));
  ASSERT_TRUE(Eventually([&] { return Console().ConnectStarts().size() > connects; })) << "searching again";
  ParamSet(Params(), 136, 42);  // an edit while disconnected is not written later
  Console().SetPlugged(true);
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.StatusCountLocked(LinkStatus::Connected) >= 2; }));
  EXPECT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.NotifiedLocked(UiNotify::EditNotConfirmed, 136); }))
      << "but the owner hears that it was dropped";
  EXPECT_NE(console_.Value(136), 42);
}

class WrongConsoleTest : public LinkFixture {
 protected:
  WrongConsoleTest() : LinkFixture(Settings()) {}
  static emulator::ConsoleSettings Settings() {
    emulator::ConsoleSettings settings;
    settings.deviceType = 1234;
    return settings;
  }
};

TEST_F(WrongConsoleTest, IsProbedTwelveTimesAPauseOfTwoSecondsApartAndNeverReportedConnected) {
  Start();
  ASSERT_TRUE(Eventually([&] { return transport_.load() != nullptr && Console().CountSent(Command::DeviceQuery) >= 25; }));
  std::vector<std::int64_t> asked;
  for (const auto& request : Console().Requests()) {
    if (request.command == static_cast<std::uint8_t>(Command::DeviceQuery)) asked.push_back(request.atMs);
  }
  // Twelve quick attempts, then two seconds of rest, then twelve again.
  for (std::size_t i = 1; i < 24; ++i) {
    const std::int64_t gap = asked[i] - asked[i - 1];
    if (i % 12 == 0) {
      EXPECT_GE(gap, 2000) << "the next round only after the pause";
      EXPECT_LT(gap, 2200);
    } else {
      EXPECT_LT(gap, 200) << "attempt " << i;
    }
  }
  const auto statuses = owner_.Statuses();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), LinkStatus::Connected), 0);
}

struct MissLimit {
  ConnectionKind kind;
  int misses;
};

class MissLimitTest : public LinkFixture, public ::testing::WithParamInterface<MissLimit> {};

TEST_P(MissLimitTest, SilenceCostsTheLinkAfterTheKindsNumberOfUnansweredSends) {
  const MissLimit limit = GetParam();
  StartConnected(limit.kind);
  Console().SetSilent(true);
  ASSERT_TRUE(Eventually([&] { return Console().ConnectStarts().size() >= 2; })) << "the link was never given up";
  const std::int64_t reconnectAt = Console().ConnectStarts().back();
  const auto requests = Console().Requests();
  std::int64_t lastAnswer = 0;
  for (const auto& request : requests) {
    if (request.answered) lastAnswer = request.atMs;
  }
  // Misses are sends into a silence longer than the limit; module texts prove nothing either way.
  const int silenceLimitMs = TimingFor(limit.kind).silenceLimitMs;
  int misses = 0;
  for (const auto& request : requests) {
    if (request.atMs >= reconnectAt) break;
    if (request.command == static_cast<std::uint8_t>(Command::ModuleText)) continue;
    if (request.atMs - lastAnswer >= silenceLimitMs && request.linkUp) ++misses;
  }
  EXPECT_EQ(misses, limit.misses);
}

INSTANTIATE_TEST_SUITE_P(PerConnectionKind, MissLimitTest,
                         ::testing::Values(MissLimit{kUsbHid, 4}, MissLimit{kNetwork, 14}),
                         [](const auto& each) { return KindName(each.param.kind); });

class LockedModeTest : public LinkFixture {
 protected:
  // The console starts in mode 1; lock it.
  LockedModeTest() : LinkFixture(Settings()) {}
  static emulator::ConsoleSettings Settings() {
    emulator::ConsoleSettings settings;
    settings.modeLockMask = 0x2;
    return settings;
  }
};

TEST_F(LockedModeTest, SceneOfALockedModeIsRefused) {
  StartConnected();
  worker_->jobs().SetScenePath("locked");
  worker_->jobs().Request(LinkJob::SaveScene);
  const std::string refused(LabelText(LabelId::UnableToReadEncryptedMode));
  const std::string failed(LabelText(LabelId::SaveFailed));
  EXPECT_TRUE(owner_.WaitUntil([&](const RecordingLinkOwner& o) { return o.SaidLocked(refused) && o.SaidLocked(failed); }));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "scenes" / "locked.mxb"));
}

// A quiet console answers every meter poll with the same word: the owner hears
// of it once, not 20 times a second; moving meters still reach it as they move.
class MeterArrivalTest : public LinkFixture, public ::testing::WithParamInterface<bool> {
 protected:
  MeterArrivalTest() : LinkFixture(Settings()) {}
  static emulator::ConsoleSettings Settings() {
    emulator::ConsoleSettings settings;
    settings.soundingMeters = GetParam();
    return settings;
  }
  [[nodiscard]] std::size_t MeterArrivals() const {
    const auto notes = owner_.Notifications();
    return static_cast<std::size_t>(std::count_if(notes.begin(), notes.end(), [](const auto& n) {
      return n.code == UiNotify::ValueArrived && n.argument == address::kLevelMeters;
    }));
  }
};

TEST_P(MeterArrivalTest, AnUnchangedMeterWordIsPostedOnce) {
  const bool sounding = GetParam();
  StartConnected();
  const int polled = Console().CountSent(Command::ReadParams);
  const std::size_t before = MeterArrivals();
  ASSERT_TRUE(Eventually([&] { return Console().CountSent(Command::ReadParams) >= polled + 40; }));
  const std::size_t posted = MeterArrivals() - before;
  if (sounding) {
    EXPECT_GE(posted, 10u);
  } else {
    EXPECT_LE(posted, 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(QuietOrSounding, MeterArrivalTest, ::testing::Bool());

}  // namespace
}  // namespace rmt4::test
