// The USB HID transport against a fake bus that runs the emulator's console
// logic behind 65-byte reports.
#include "transport/hid_transport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "fake_hid_device.h"
#include "link/link_worker.h"
#include "protocol/recording_link_owner.h"
#include "support/eventually.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kBlocked = "HID_VID_4084_PID_4357 Channel is Blocked!";

/// A folder of its own per test for the channel lock, so tests that run side
/// by side (and a real program on this machine) do not block each other.
class LockFolder {
 public:
  LockFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("rmt4-hid-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~LockFolder() { std::filesystem::remove_all(path_); }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

/// Frames go straight to the transport, as the link worker's SendFrame does.
class DirectSender final : public FrameSender {
 public:
  void SendFrame(Command command, std::span<const std::uint8_t> payload) override {
    if (const auto frame = LinkFrame::Build(command, payload); frame && transport != nullptr) {
      transport->Send(frame->Bytes());
    }
  }
  LinkTransport* transport = nullptr;
};

/// One program's HID transport without the link worker around it.
struct HidRig {
  HidRig(FakeHidBus& bus, const std::filesystem::path& lockFolder, HidTiming timing = {})
      : context(owner), transport(context, sender, bus.MakeBackend(), lockFolder, timing) {
    sender.transport = &transport;
    context.appRunning.store(true);
  }
  ~HidRig() {
    context.appRunning.store(false);
    transport.Close();
  }

  RecordingLinkOwner owner;
  LinkContext context;
  DirectSender sender;
  HidTransport transport;
};

/// A frame of counting bytes, so that a byte out of place shows.
std::vector<std::uint8_t> FrameBytes(std::size_t size) {
  std::vector<std::uint8_t> frame(size);
  for (std::size_t i = 0; i < size; ++i) frame[i] = static_cast<std::uint8_t>(i + 1);
  return frame;
}

class HidTransportTest : public ::testing::Test {
 protected:
  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};
  FakeHidBus bus_{console_};
  LockFolder lockFolder_;
};

TEST_F(HidTransportTest, ConnectProbesAddressZeroAndTheReaderRuns) {
  bus_.PlugConsole();
  HidRig rig(bus_, lockFolder_.path());
  rig.transport.Connect();

  EXPECT_TRUE(rig.context.linkUp.load());
  EXPECT_TRUE(rig.transport.IsConnected());
  EXPECT_EQ(rig.context.state.params.Value(0), console_.Value(0));
  EXPECT_EQ(rig.owner.Statuses(), std::vector<LinkStatus>{LinkStatus::Searching});
  EXPECT_TRUE(rig.owner.Messages().empty());
  EXPECT_EQ(bus_.OpenCount(kConsoleProductId), 2) << "one handle reads, one writes";
}

TEST_F(HidTransportTest, AnotherProductOfTheVendorIsNeverOpened) {
  bus_.PlugOtherProduct(0x4358);
  HidRig rig(bus_, lockFolder_.path());
  std::thread connect([&] { rig.transport.Connect(); });

  ASSERT_TRUE(Eventually([&] { return bus_.EnumerateCount() >= 3; })) << "several searches";
  EXPECT_FALSE(rig.context.linkUp.load());
  bus_.PlugConsole();
  EXPECT_TRUE(Eventually([&] { return rig.context.linkUp.load(); }));
  rig.context.appRunning.store(false);  // ends the search if it failed
  connect.join();
  EXPECT_EQ(bus_.OpenCount(0x4358), 0);
}

TEST_F(HidTransportTest, AConsoleThatCannotBeOpenedIsReportedOnceAndUsedOnceItCan) {
  bus_.PlugConsole();
  bus_.RefuseOpens(true);
  HidRig rig(bus_, lockFolder_.path());
  std::thread connect([&] { rig.transport.Connect(); });

  ASSERT_TRUE(Eventually([&] { return bus_.EnumerateCount() >= 3; })) << "several searches";
  EXPECT_FALSE(rig.context.linkUp.load());
  bus_.RefuseOpens(false);
  EXPECT_TRUE(Eventually([&] { return rig.context.linkUp.load(); }));
  rig.context.appRunning.store(false);  // ends the search if it failed
  connect.join();

  const auto messages = rig.owner.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text.find("Permission denied"), std::string::npos) << messages[0].text;
}

TEST_F(HidTransportTest, LongFramesAreWrappedAcrossReports) {
  bus_.PlugConsole();
  HidRig rig(bus_, lockFolder_.path());
  rig.transport.Connect();
  const std::size_t before = bus_.WrittenReports().size();

  const std::vector<std::uint8_t> frame = FrameBytes(100);
  EXPECT_TRUE(rig.transport.HidWriteFrame(frame));

  const std::vector<HidReport> written = bus_.WrittenReports();
  ASSERT_EQ(written.size(), before + 2);
  const HidReport& first = written[before];
  const HidReport& second = written[before + 1];
  EXPECT_EQ(first[0], 0);
  EXPECT_EQ(std::vector<std::uint8_t>(first.begin() + 1, first.begin() + 6),
            (std::vector<std::uint8_t>{0xAE, 0x1E, 0x00, 100, 0xC8}));
  EXPECT_TRUE(std::equal(first.begin() + 6, first.end(), frame.begin()));
  EXPECT_EQ(second[0], 0);
  EXPECT_TRUE(std::equal(second.begin() + 1, second.begin() + 42, frame.begin() + 59));
  EXPECT_TRUE(std::all_of(second.begin() + 42, second.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(HidTransportTest, AWriteNotTakenIn100MsStopsTheRestOfTheMessage) {
  bus_.PlugConsole();
  HidRig rig(bus_, lockFolder_.path());
  rig.transport.Connect();
  const std::size_t before = bus_.WrittenReports().size();
  bus_.StallWrites(true);

  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(rig.transport.HidWriteFrame(FrameBytes(100)));
  const auto took = std::chrono::steady_clock::now() - started;

  EXPECT_EQ(bus_.WrittenReports().size(), before + 1) << "the second report is not attempted";
  EXPECT_GE(took, 100ms);
  EXPECT_LT(took, 1s);
}

TEST_F(HidTransportTest, CloseEndsTheReaderAndLaterFramesAreDropped) {
  bus_.PlugConsole();
  HidRig rig(bus_, lockFolder_.path());
  rig.transport.Connect();
  ASSERT_TRUE(rig.transport.IsConnected());

  rig.transport.Close();
  EXPECT_TRUE(Eventually([&] { return !rig.transport.IsConnected(); }, 1s)) << "the reader is stuck in a read";
  EXPECT_FALSE(rig.context.linkUp.load());
  const std::size_t before = bus_.WrittenReports().size();
  EXPECT_FALSE(rig.transport.HidWriteFrame(FrameBytes(7)));
  EXPECT_EQ(bus_.WrittenReports().size(), before);
  rig.transport.Close();  // twice is harmless
}

TEST_F(HidTransportTest, UnplugEndsTheReaderAndClearsLinkUp) {
  bus_.PlugConsole();
  HidRig rig(bus_, lockFolder_.path());
  rig.transport.Connect();

  bus_.UnplugConsole();
  EXPECT_TRUE(Eventually([&] { return !rig.transport.IsConnected(); }, 1s));
  EXPECT_FALSE(rig.context.linkUp.load());
  EXPECT_FALSE(rig.transport.HidWriteFrame(FrameBytes(7))) << "writes to a pulled device fail";
}

TEST_F(HidTransportTest, ASecondInstanceIsBlockedUntilTheFirstLetsGo) {
  bus_.PlugConsole();
  HidTiming quickRetry;
  quickRetry.blockedRetry = 100ms;
  auto first = std::make_unique<HidRig>(bus_, lockFolder_.path());
  first->transport.Connect();
  ASSERT_TRUE(first->context.linkUp.load());

  HidRig second(bus_, lockFolder_.path(), quickRetry);
  std::thread connect([&] { second.transport.Connect(); });
  EXPECT_TRUE(second.owner.WaitUntil([](const RecordingLinkOwner& o) { return o.MessageCountLocked() >= 3; }))
      << "the message repeats while the channel is taken";
  EXPECT_FALSE(second.context.linkUp.load());
  EXPECT_EQ(bus_.OpenCount(kConsoleProductId), 2) << "only the first instance opened the device";

  first.reset();
  EXPECT_TRUE(Eventually([&] { return second.context.linkUp.load(); }));
  second.context.appRunning.store(false);  // ends the search if it failed
  connect.join();
  for (const auto& message : second.owner.Messages()) EXPECT_EQ(message.text, kBlocked);
}

TEST_F(HidTransportTest, ClosingEndsAConnectThatWaitsForTheChannel) {
  HidRig first(bus_, lockFolder_.path());
  std::thread holder([&] { first.transport.Connect(); });  // holds the lock, searches forever
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(lockFolder_.path() / "HID_VID_4084_PID_4357.lock"); }));
  ASSERT_TRUE(Eventually([&] { return bus_.EnumerateCount() >= 1; })) << "the holder searches";

  HidRig second(bus_, lockFolder_.path());
  std::thread connect([&] { second.transport.Connect(); });
  ASSERT_TRUE(second.owner.WaitUntil([](const RecordingLinkOwner& o) { return o.MessageCountLocked() >= 1; }));
  const auto stopped = std::chrono::steady_clock::now();
  second.context.appRunning.store(false);
  connect.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 500ms) << "the 2 s retry pause does not hold up closing";

  first.context.appRunning.store(false);
  holder.join();
}

/// The link worker over the HID transport and the fake bus.
class HidLinkTest : public HidTransportTest {
 protected:
  ~HidLinkTest() override { worker_.reset(); }

  void Start() {
    LinkWorker::Options options;
    options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender& sender) {
      return std::make_unique<HidTransport>(context, sender, bus_.MakeBackend(), lockFolder_.path());
    };
    options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
    options.sceneFolders = AppFolders{lockFolder_.path() / "scenes", lockFolder_.path() / "fallback"};
    worker_ = std::make_unique<LinkWorker>(owner_, std::move(options));
    worker_->StartLink();
  }
  bool WaitForSync(int count) {
    return Eventually([&] { return worker_->SyncCount() >= count; }, 20s);
  }

  RecordingLinkOwner owner_;
  std::unique_ptr<LinkWorker> worker_;
};

TEST_F(HidLinkTest, ReadsEverythingAndCarriesEditsBothWays) {
  (void)console_.ChangeFromConsole(136, 1111);  // differs from the default
  bus_.PlugConsole();
  Start();
  ASSERT_TRUE(WaitForSync(1)) << "no complete read";

  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a == address::kLevelMeters) continue;  // moves with every poll
    ASSERT_EQ(worker_->params().Value(a), console_.Value(a)) << "address " << a;
  }
  EXPECT_GT(bus_.InputReportsSent(), 100u) << "replies of up to 253 bytes span several reports";

  ParamSet(worker_->params(), 137, 2222);
  EXPECT_TRUE(Eventually([&] { return console_.Value(137) == 2222; })) << "edit on the PC";
  EXPECT_TRUE(Eventually([&] { return !worker_->params()[137].Dirty(); })) << "echo not seen";

  bus_.ChangeOnConsole(138, 3333);
  EXPECT_TRUE(Eventually([&] { return worker_->params().Value(138) == 3333; })) << "edit on the console";
}

TEST_F(HidLinkTest, UnplugSearchesAndReplugReconnects) {
  bus_.PlugConsole();
  Start();
  ASSERT_TRUE(WaitForSync(1));
  const std::size_t connectedBefore = owner_.Statuses().size();

  bus_.UnplugConsole();
  EXPECT_TRUE(owner_.WaitUntil([&](const RecordingLinkOwner& o) {
    return o.StatusCountLocked() > connectedBefore && o.StatusCountLocked(LinkStatus::Searching) >= 2;
  }));
  EXPECT_FALSE(worker_->linkUp());

  bus_.PlugConsole();
  EXPECT_TRUE(WaitForSync(2)) << "no reconnect after re-plugging";
  EXPECT_EQ(owner_.Statuses().back(), LinkStatus::Connected);
  EXPECT_TRUE(owner_.Messages().empty());
}

}  // namespace
}  // namespace rmt4::test
