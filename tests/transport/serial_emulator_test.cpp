// The serial transport and the link worker against rmt4-console's
// pseudo-terminal, as a PC finds the console among its serial ports.
#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "console_process.h"
#include "files/settings_store.h"
#include "files/temp_folder.h"
#include "network_test_support.h"
#include "link/link_configuration.h"
#include "link/link_worker.h"
#include "serial_pty_pair.h"
#include "transport/serial_transport.h"

namespace rmt4 {
namespace {

using namespace std::chrono_literals;
using test::ConsoleProcess;
using test::Eventually;
using test::PtyPair;

/// ReadParams for address 0, the probe every port is asked first.
const std::vector<std::uint8_t> kProbeFrame{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5};

/// 127.0.0.host for the emulator's network side, which these tests do not use.
constexpr Ipv4Address SerialLoopback(int host) { return 0x7F000000u | static_cast<Ipv4Address>(host); }

/// One serial link under test over the given ports.
struct SerialRig {
  explicit SerialRig(SerialPortList ports, int baudRate = 128000)
      : transport(context, sender, [ports = std::move(ports)] { return ports; }) {
    sender.transport = &transport;
    context.connectionKind = 0;
    context.serialBaudRate = baudRate;
    context.appRunning.store(true);
  }
  ~SerialRig() {
    context.appRunning.store(false);
    transport.Close();
  }

  /// Connects, ending the run after `limit` so that a fault cannot hang the suite.
  bool ConnectWithin(std::chrono::milliseconds limit) {
    auto connected = std::async(std::launch::async, [this] { transport.Connect(); });
    if (connected.wait_for(limit) != std::future_status::ready) context.appRunning.store(false);
    connected.wait();
    return context.linkUp.load() && context.appRunning.load();
  }

  test::RecordingLinkOwner owner;
  LinkContext context{owner};
  test::TransportSender sender;
  SerialTransport transport;
};

TEST(SerialWithEmulator, PortsThatDoNotAnswerAreSkippedUntilTheConsoleAnswers) {
  ConsoleProcess console(SerialLoopback(240), 0, 0, {"--pty"});
  ASSERT_TRUE(console.ready());
  ASSERT_FALSE(console.serialPath().empty());
  PtyPair otherDevice;  // opens like a port, but nothing on it speaks the console's protocol
  ASSERT_TRUE(otherDevice.ok());
  SerialRig rig({"/nonexistent/ttyUSB7", otherDevice.devicePath(), console.serialPath()});

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(rig.ConnectWithin(5s));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms) << "the silent port had its whole probe time";
  EXPECT_EQ(otherDevice.Receive(kProbeFrame.size(), 100ms), kProbeFrame);
  EXPECT_EQ(rig.transport.ConnectedDevice(), console.serialPath());
  EXPECT_EQ(rig.context.state.params.Value(0), kSupportedDeviceType);
  EXPECT_TRUE(rig.transport.IsConnected());
  EXPECT_TRUE(rig.transport.ReaderRunning());
  EXPECT_EQ(rig.owner.Statuses(), std::vector<LinkStatus>{LinkStatus::Searching});

  // The link carries the console's answers from now on.
  ASSERT_EQ(console.Ask("set 136 777"), "ok");
  const std::array<std::uint8_t, 2> fader{0x00, 0x88};
  rig.sender.SendFrame(Command::ReadParams, fader);
  EXPECT_TRUE(Eventually([&] { return rig.context.state.params.Value(136) == 777; }));

  rig.transport.Close();
  EXPECT_FALSE(rig.transport.IsConnected());
  EXPECT_FALSE(rig.context.linkUp.load());
  EXPECT_FALSE(rig.transport.ReaderRunning());
}

TEST(SerialWithEmulator, StoredSpeedIsUsedAndZeroKeeps128000) {
  ConsoleProcess console(SerialLoopback(241), 0, 0, {"--pty"});
  ASSERT_TRUE(console.ready());
  testing::TempFolder root;
  const AppFolders folders{root.path() / "bin/FileData/", root.path() / "data/rmt4/"};
  for (const auto& [stored, expected] : {std::pair{0, 128000}, std::pair{-5, 128000}, std::pair{115200, 115200}}) {
    ASSERT_TRUE(SettingsStore(folders).WriteSettingInt("Configuration", "m_COM_m_BoTeLV", stored));
    SerialRig rig({console.serialPath()}, ReadLinkConfiguration(folders).serialBaudRate);
    ASSERT_TRUE(rig.ConnectWithin(3s)) << "stored " << stored;
    EXPECT_EQ(rig.transport.LineSpeed(), expected) << "stored " << stored;
  }
}

TEST(SerialWithEmulator, ConsoleGoingAwayEndsTheReaderAndTheWorkerReconnectsWhenItReturns) {
  auto console = std::make_unique<ConsoleProcess>(SerialLoopback(242), 0, 0, std::vector<std::string>{"--pty"});
  ASSERT_TRUE(console->ready());
  std::mutex portMutex;
  std::string consolePort = console->serialPath();
  std::atomic<SerialTransport*> transport{nullptr};

  test::RecordingLinkOwner owner;
  LinkWorker::Options options;
  options.readConfiguration = [] { return LinkConfiguration{0, 128000}; };
  options.makeTransport = [&](ConnectionKind, LinkContext& context, FrameSender& sender) {
    auto made = std::make_unique<SerialTransport>(context, sender, [&] {
      std::lock_guard lock(portMutex);
      return SerialPortList{consolePort};
    });
    transport.store(made.get());
    return made;
  };
  LinkWorker worker(owner, std::move(options));
  worker.StartLink();
  ASSERT_TRUE(Eventually([&] { return worker.SyncCount() == 1; }, 15s));

  console.reset();  // the console is switched off: its end of the line closes
  ASSERT_TRUE(Eventually([&] { return !worker.linkUp(); }, 2s));
  EXPECT_TRUE(Eventually([&] { return !transport.load()->ReaderRunning(); }, 2s));

  console = std::make_unique<ConsoleProcess>(SerialLoopback(243), 0, 0, std::vector<std::string>{"--pty"});
  ASSERT_TRUE(console->ready());
  ASSERT_EQ(console->Ask("set 136 321"), "ok");
  {
    std::lock_guard lock(portMutex);
    consolePort = console->serialPath();
  }
  ASSERT_TRUE(Eventually([&] { return worker.SyncCount() == 2; }, 15s));
  EXPECT_TRUE(worker.linkUp());
  EXPECT_EQ(worker.params().Value(136), 321) << "the complete read came from the returned console";
  EXPECT_EQ(transport.load()->ConnectedDevice(), console->serialPath());
  worker.StopLink();
  EXPECT_FALSE(worker.linkUp());
}

}  // namespace
}  // namespace rmt4
