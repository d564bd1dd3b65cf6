#include "transport/network_transport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "loopback_fake_module.h"
#include "network_test_support.h"
#include "transport/udp_socket.h"

namespace rmt4 {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::LoopbackEndpoints;
using test::LoopbackFakeModule;
using test::NetworkRig;

/// 127.0.0.host. Each test uses its own hosts and ports, so tests may run in parallel.
constexpr Ipv4Address TransportLoopback(int host) { return 0x7F000000u | static_cast<Ipv4Address>(host); }

constexpr std::uint8_t kProbe[] = {0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5};

/// A TCP socket listening at `address` on a free port; port 0 when that failed.
struct TcpListener {
  explicit TcpListener(Ipv4Address address) : socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in local = SocketAddress(address, 0);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (bind(socket.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 &&
        listen(socket.Get(), 1) == 0 && getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&bound), &length) == 0) {
      port = ntohs(bound.sin_port);
    }
  }
  UniqueFd socket;
  std::uint16_t port = 0;
};

/// The task id of this process's thread called `name`, once it has its name.
std::optional<std::string> ThreadNamed(const std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      std::string comm;
      std::getline(std::ifstream(task.path() / "comm"), comm);
      if (comm == name) return task.path().filename().string();
    }
    std::this_thread::sleep_for(10ms);
  }
  return std::nullopt;
}

/// How often the thread has gone to sleep waiting for something: its wake-ups.
long SleepsOf(const std::string& thread) {
  std::ifstream status("/proc/self/task/" + thread + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("voluntary_ctxt_switches:")) return std::stol(line.substr(line.find(':') + 1));
  }
  return -1;
}

int CountStatus(const test::RecordingLinkOwner& owner, LinkStatus status) {
  const auto statuses = owner.Statuses();
  return static_cast<int>(std::count(statuses.begin(), statuses.end(), status));
}

TEST(NetworkConnect, ConnectsToTheOnlyModuleAndCloseEndsItsThreads) {
  LoopbackFakeModule module(TransportLoopback(201), 0, 0);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(101), module.udpPort(), module.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(5s));

  EXPECT_EQ(rig.transport.serverAddress(), TransportLoopback(201));
  EXPECT_EQ(rig.transport.localAddress(), TransportLoopback(101));
  EXPECT_EQ(module.Connections(), 1);
  EXPECT_EQ(rig.context.state.params.Value(0), 20024);
  EXPECT_GE(CountStatus(rig.owner, LinkStatus::Searching), 1);
  EXPECT_TRUE(rig.owner.Choices().empty());
  EXPECT_TRUE(rig.owner.Messages().empty());
  EXPECT_TRUE(rig.transport.ReaderRunning());
  EXPECT_TRUE(rig.transport.DiscoveryRunning());

  const auto start = std::chrono::steady_clock::now();
  rig.transport.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
  EXPECT_FALSE(rig.transport.ReaderRunning());
  EXPECT_FALSE(rig.transport.DiscoveryRunning());
  rig.transport.Close();  // a second close is harmless
}

TEST(NetworkConnect, TwoModulesLetTheUserChooseAndThePickIsUsed) {
  LoopbackFakeModule first(TransportLoopback(202), 0, 0);
  LoopbackFakeModule second(TransportLoopback(203), first.udpPort(), first.tcpPort());
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(102), first.udpPort(), first.tcpPort()));
  std::atomic<Ipv4Address> picked{0};
  rig.ChooseTheOtherConsole(picked);
  ASSERT_TRUE(rig.ConnectWithin(5s));

  const auto choices = rig.owner.Choices();
  ASSERT_EQ(choices.size(), 1u);
  auto offered = choices[0];
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, (std::vector<std::uint32_t>{TransportLoopback(202), TransportLoopback(203)}));
  EXPECT_EQ(rig.transport.serverAddress(), picked.load());
  LoopbackFakeModule& chosen = picked.load() == TransportLoopback(202) ? first : second;
  LoopbackFakeModule& other = picked.load() == TransportLoopback(202) ? second : first;
  EXPECT_EQ(chosen.Connections(), 1);
  EXPECT_EQ(other.Connections(), 0);
  EXPECT_TRUE(rig.context.modules.DiscoveredConsoles().empty());
}

TEST(NetworkConnect, ForgetsAModuleThatNeverAnswersAndSearchesAgain) {
  LoopbackFakeModule module(TransportLoopback(204), 0, 0);
  module.IgnoreConnectionsUpTo(1);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(104), module.udpPort(), module.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(8s));

  EXPECT_EQ(module.Connections(), 2);
  EXPECT_GE(module.GetIpRequests(), 2);  // searched again after the silent connection
  EXPECT_GE(CountStatus(rig.owner, LinkStatus::Searching), 3);
  EXPECT_EQ(rig.transport.serverAddress(), TransportLoopback(204));
}

TEST(NetworkConnect, WaitsWhileTheModuleServesAnotherPc) {
  LoopbackFakeModule module(TransportLoopback(205), 0, 0);
  module.ReportLinkedHost(TransportLoopback(99));
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(105), module.udpPort(), module.tcpPort()));
  std::atomic<bool> connected{false};
  std::thread connecting([&] { connected.store(rig.ConnectWithin(8s)); });

  EXPECT_TRUE(Eventually([&] { return rig.transport.linkedHostAddress() == TransportLoopback(99); }));
  // Asked again on every pass, however slow the machine, and never connected meanwhile.
  EXPECT_TRUE(Eventually([&] {
    const auto texts = module.UdpTexts();
    return std::count(texts.begin(), texts.end(), "Get_LinkIP:") >= 2;
  }));
  EXPECT_EQ(module.Connections(), 0);
  EXPECT_FALSE(rig.context.linkUp.load());
  EXPECT_TRUE(rig.owner.WaitUntil([](const test::RecordingLinkOwner& o) {
    return o.NotifiedLocked(UiNotify::ConsoleBusy, static_cast<int>(TransportLoopback(99)));
  }));
  EXPECT_EQ(rig.owner.SearchTargets(), std::vector<std::string>{"UDP 127.255.255.255:" + std::to_string(module.udpPort())});

  module.ReportLinkedHost(0);
  connecting.join();
  EXPECT_TRUE(connected.load());
  EXPECT_EQ(module.Connections(), 1);
  EXPECT_EQ(rig.owner.SearchTargets().back(), "TCP 127.0.0.205:" + std::to_string(module.tcpPort()));
}

TEST(NetworkConnect, ClosingWhileSearchingReturnsPromptly) {
  const std::uint16_t port = test::FreeUdpPort(TransportLoopback(106));
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(106), port, port));
  std::atomic<bool> returned{false};
  std::thread connecting([&] {
    rig.transport.Connect();
    returned.store(true);
  });
  ASSERT_TRUE(Eventually([&] { return !rig.owner.SearchTargets().empty(); }));
  EXPECT_FALSE(returned.load());  // nobody answers: still searching

  const auto start = std::chrono::steady_clock::now();
  rig.context.appRunning.store(false);
  rig.transport.Close();
  EXPECT_TRUE(Eventually([&] { return returned.load(); }, 1000ms));
  connecting.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  EXPECT_FALSE(rig.context.linkUp.load());
  EXPECT_FALSE(rig.transport.DiscoveryRunning());
}

TEST(NetworkConnect, NoTcpConnectionWithoutAChosenModule) {
  // Address 0 means "this host" to Linux: a listener here must not be reached.
  const TcpListener listener(kLoopbackAddress);
  ASSERT_NE(listener.port, 0);
  NetworkEndpoints endpoints = LoopbackEndpoints(kLoopbackAddress, 1, listener.port);
  endpoints.localAddress.reset();
  NetworkRig rig(endpoints);

  EXPECT_FALSE(rig.transport.TcpConnect().ok());
  pollfd waiting{listener.socket.Get(), POLLIN, 0};
  EXPECT_EQ(poll(&waiting, 1, 100), 0);
  EXPECT_FALSE(rig.transport.ReaderRunning());
}

TEST(NetworkReprobe, ReconnectsAndSendsTheFixedProbe) {
  LoopbackFakeModule module(TransportLoopback(208), 0, 0);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(108), module.udpPort(), module.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(5s));
  const std::vector<std::uint8_t> probe(std::begin(kProbe), std::end(kProbe));
  const auto built = LinkFrame::Build(Command::ReadParams, std::vector<std::uint8_t>{0, 0});
  ASSERT_TRUE(built.has_value());
  EXPECT_EQ(std::vector<std::uint8_t>(built->Bytes().begin(), built->Bytes().end()), probe);

  // An answering console: one new connection, one probe; a frame sent afterwards follows it directly.
  rig.transport.OnSilence();
  EXPECT_EQ(module.Connections(), 2);
  const std::vector<std::uint8_t> marker{0, 7};
  rig.sender.SendFrame(Command::ReadParams, marker);
  std::vector<std::uint8_t> probeThenMarker = probe;
  const auto markerFrame = LinkFrame::Build(Command::ReadParams, marker);
  probeThenMarker.insert(probeThenMarker.end(), markerFrame->Bytes().begin(), markerFrame->Bytes().end());
  EXPECT_TRUE(Eventually([&] { return module.LatestConnectionBytes() == probeThenMarker; }));

  // A silent console: five probes on the new connection, each waited for.
  module.IgnoreConnectionsUpTo(3);
  const auto start = std::chrono::steady_clock::now();
  rig.transport.OnSilence();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 5 * 150ms);
  EXPECT_EQ(module.Connections(), 3);
  std::vector<std::uint8_t> fiveProbes;
  for (int i = 0; i < 5; ++i) fiveProbes.insert(fiveProbes.end(), probe.begin(), probe.end());
  EXPECT_TRUE(Eventually([&] { return module.LatestConnectionBytes() == fiveProbes; }));
  EXPECT_TRUE(rig.transport.ReaderRunning());
}

TEST(NetworkDiscovery, RefusedUdpBindIsReportedOnceAndRetried) {
  const std::uint16_t port = test::FreeUdpPort(TransportLoopback(109));
  // Holds the PC's UDP port without sharing it.
  auto blocker = std::make_unique<UniqueFd>(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const sockaddr_in held = SocketAddress(TransportLoopback(109), port);
  ASSERT_EQ(bind(blocker->Get(), reinterpret_cast<const sockaddr*>(&held), sizeof held), 0);
  LoopbackFakeModule module(TransportLoopback(209), port, 0);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(109), port, module.tcpPort()));
  std::atomic<bool> connected{false};
  std::thread connecting([&] { connected.store(rig.ConnectWithin(8s)); });

  ASSERT_TRUE(rig.owner.WaitUntil([](auto& owner) { return owner.MessageCountLocked() >= 1; }, 3000ms));
  const auto message = rig.owner.Messages().front();
  EXPECT_NE(message.text.find("UDP port " + std::to_string(port)), std::string::npos) << message.text;
  EXPECT_NE(message.text.find("RMT4_UDP_PORT"), std::string::npos) << message.text;
  std::this_thread::sleep_for(1500ms);  // retries go on quietly
  EXPECT_EQ(rig.owner.Messages().size(), 1u);
  EXPECT_FALSE(rig.context.linkUp.load());

  blocker.reset();
  connecting.join();
  EXPECT_TRUE(connected.load());
}

TEST(NetworkDiscovery, ServesModuleCommandsAndIgnoresOversizedDatagrams) {
  LoopbackFakeModule module(TransportLoopback(210), 0, 0);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(110), module.udpPort(), module.tcpPort()));
  ASSERT_TRUE(rig.ConnectWithin(5s));
  ModuleCommandTable& modules = rig.context.modules;

  modules.SetModuleCommand(ModuleCommandTable::kGetConfig, "Get_Confi:");
  ASSERT_TRUE(Eventually([&] { return modules.Done(ModuleCommandTable::kGetConfig); }));
  EXPECT_EQ(modules.Text(ModuleCommandTable::kGetConfig).substr(0, 11), "192.168.1.5");
  EXPECT_FALSE(modules.Pending(ModuleCommandTable::kGetConfig));

  modules.SetModuleCommand(17, "Set_Restart:");
  ASSERT_TRUE(rig.owner.WaitUntil([](auto& owner) { return owner.MessageCountLocked() >= 1; }, 3000ms));
  EXPECT_EQ(rig.owner.Messages().front().text, "Restart:OK");
  EXPECT_EQ(rig.owner.Messages().front().caption, "WiFi");

  // Anyone may send datagrams. Only the chosen module's count, and of those
  // one too long to be a module text is dropped whole.
  auto sendFrom = [&](Ipv4Address from, const std::string& datagram) {
    UniqueFd sender(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const sockaddr_in local = SocketAddress(from, 0);
    ASSERT_EQ(bind(sender.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local), 0);
    const sockaddr_in pc = SocketAddress(TransportLoopback(110), module.udpPort());
    sendto(sender.Get(), datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&pc), sizeof pc);
  };
  sendFrom(TransportLoopback(213), "Set_Confi:OK");
  sendFrom(TransportLoopback(210), "Get_TCPPort:1234" + std::string(2000, ' '));
  sendFrom(TransportLoopback(210), "Get_UDPPort:4321");
  ASSERT_TRUE(Eventually([&] { return modules.Done(4); }));
  EXPECT_EQ(modules.Number(4), 4321u);
  EXPECT_FALSE(modules.Done(3));
  EXPECT_FALSE(modules.Done(ModuleCommandTable::kSetConfig)) << "a stranger's text is no verdict of the module";
}

TEST(NetworkDiscovery, ANamedConsoleIsTheOnlyOneAsked) {
  LoopbackFakeModule named(TransportLoopback(211), 0, 0);
  LoopbackFakeModule other(TransportLoopback(212), named.udpPort(), named.tcpPort());
  NetworkEndpoints endpoints = LoopbackEndpoints(TransportLoopback(111), named.udpPort(), named.tcpPort());
  endpoints.onlyConsole = TransportLoopback(211);
  NetworkRig rig(endpoints);
  ASSERT_TRUE(rig.ConnectWithin(5s));

  EXPECT_EQ(rig.transport.serverAddress(), TransportLoopback(211));
  EXPECT_EQ(named.Connections(), 1);
  EXPECT_EQ(other.GetIpRequests(), 0);  // no sweep
  EXPECT_TRUE(rig.owner.Choices().empty());
}

TEST(NetworkConnect, ANamedConsoleIsReachedDirectlyEvenWhileTheSearchFindsNothing) {
  LoopbackFakeModule module(TransportLoopback(213), 0, 0);
  // The search asks a port where nobody answers: only the direct way can connect.
  const std::uint16_t silentPort = test::FreeUdpPort(TransportLoopback(113));
  NetworkEndpoints endpoints = LoopbackEndpoints(TransportLoopback(113), silentPort, module.tcpPort());
  endpoints.onlyConsole = TransportLoopback(213);
  endpoints.connectDirectly = true;
  NetworkRig rig(endpoints);

  ASSERT_TRUE(rig.ConnectWithin(5s));
  // Straight to the console: not through the search, whose pauses come to 600 ms before its first connect.
  EXPECT_EQ(rig.owner.SearchTargets(), std::vector<std::string>{"TCP 127.0.0.213:" + std::to_string(module.tcpPort())});
  EXPECT_EQ(module.Connections(), 1);
  EXPECT_EQ(rig.context.state.params.Value(0), 20024);
  EXPECT_TRUE(rig.transport.DiscoveryRunning()) << "module commands still need the search thread";
  EXPECT_EQ(rig.transport.serverAddress(), TransportLoopback(213));
}

TEST(NetworkDiscovery, AFailingSendIsReportedOnce) {
  // Linux refuses UDP datagrams to port 0 at once, on loopback as anywhere.
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(116), 0, 1));
  std::thread connecting([&] { rig.transport.Connect(); });
  ASSERT_TRUE(rig.owner.WaitUntil([](auto& owner) { return owner.MessageCountLocked() >= 1; }, 3000ms));
  std::this_thread::sleep_for(1500ms);  // several searches later
  const auto messages = rig.owner.Messages();
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_NE(messages.front().text.find("cannot send to 127.255.255.255 port 0"), std::string::npos)
      << messages.front().text;
  rig.context.appRunning.store(false);
  rig.transport.Close();
  connecting.join();
}

/// A TCP port whose accept queue is full: a connect to it neither succeeds nor fails.
class UnansweredTcpPort {
 public:
  explicit UnansweredTcpPort(Ipv4Address address) : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in local = SocketAddress(address, 0);
    if (bind(listener_.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return;
    if (listen(listener_.Get(), 0) != 0) return;
    port_ = BoundPort(listener_.Get());
    const sockaddr_in remote = SocketAddress(address, port_);
    for (UniqueFd& filler : fillers_) {
      filler = UniqueFd(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
      (void)connect(filler.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
      std::this_thread::sleep_for(20ms);  // each takes its place before the next
    }
  }
  [[nodiscard]] std::uint16_t port() const { return port_; }

 private:
  UniqueFd listener_;
  std::array<UniqueFd, 3> fillers_;
  std::uint16_t port_ = 0;
};

TEST(NetworkClose, ReturnsWithinASecondWhileSearchingConnectingOrConnected) {
  enum class Phase { Searching, Connecting, Connected };
  for (const Phase phase : {Phase::Searching, Phase::Connecting, Phase::Connected}) {
    const int host = 213 + static_cast<int>(phase);
    const char* const name = phase == Phase::Searching    ? "searching"
                             : phase == Phase::Connecting ? "connecting"
                                                          : "connected";
    std::optional<LoopbackFakeModule> module;
    std::optional<UnansweredTcpPort> unanswered;
    std::uint16_t udpPort = test::FreeUdpPort(TransportLoopback(host));
    std::uint16_t tcpPort = udpPort;
    if (phase != Phase::Searching) {
      module.emplace(TransportLoopback(host), 0, 0);
      udpPort = module->udpPort();
      tcpPort = module->tcpPort();
    }
    if (phase == Phase::Connecting) {
      unanswered.emplace(TransportLoopback(host));
      tcpPort = unanswered->port();
    }
    NetworkTiming timing = test::QuickTiming();
    timing.connectTimeout = 5000ms;  // the connect would hang this long unless closing cuts it short
    NetworkRig rig(LoopbackEndpoints(TransportLoopback(100 + host % 100), udpPort, tcpPort), timing);
    std::thread connecting([&] { rig.transport.Connect(); });
    switch (phase) {
      case Phase::Searching:
        ASSERT_TRUE(Eventually([&] { return !rig.owner.SearchTargets().empty(); })) << name;
        break;
      case Phase::Connecting:
        ASSERT_TRUE(Eventually([&] {
          const auto targets = rig.owner.SearchTargets();
          return !targets.empty() && targets.back().starts_with("TCP ");
        })) << name;
        break;
      case Phase::Connected:
        ASSERT_TRUE(Eventually([&] { return rig.context.linkUp.load(); })) << name;
        break;
    }

    // The program is still running: closing alone must be prompt.
    const auto start = std::chrono::steady_clock::now();
    rig.transport.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms) << name;
    EXPECT_FALSE(rig.transport.ReaderRunning()) << name;
    EXPECT_FALSE(rig.transport.DiscoveryRunning()) << name;
    rig.context.appRunning.store(false);
    connecting.join();
  }
}

TEST(TcpLink, AnIdleConnectionCostsTheReaderNoWakeUps) {
  const TcpListener listener(TransportLoopback(114));
  ASSERT_NE(listener.port, 0);
  NetworkRig rig(LoopbackEndpoints(TransportLoopback(114), 1, listener.port));
  TcpLink link(rig.context.parser, rig.context.appRunning);

  ASSERT_TRUE(link.Connect(TransportLoopback(114), listener.port, std::nullopt, 1000ms).ok());
  UniqueFd console(accept(listener.socket.Get(), nullptr, nullptr));
  // By its name: a sanitizer may start threads of its own meanwhile.
  const std::optional<std::string> reader = ThreadNamed("tcp-reader");
  ASSERT_TRUE(reader) << "one reader thread";
  std::this_thread::sleep_for(20ms);  // the reader reaches its wait
  const long sleeps = SleepsOf(*reader);
  std::this_thread::sleep_for(300ms);
  EXPECT_LE(SleepsOf(*reader) - sleeps, 1) << "the reader woke while nothing arrived";
}

TEST(UdpSocket, InterruptEndsAWaitingReceiveAndRearmLetsItWaitAgain) {
  UdpSocket socket;
  ASSERT_TRUE(socket.Open(TransportLoopback(230), test::FreeUdpPort(TransportLoopback(230))).ok());
  const auto nothing = [](std::string_view, Ipv4Address) { ADD_FAILURE() << "no datagram was sent"; };
  const auto start = std::chrono::steady_clock::now();
  std::thread stopper([&] {
    std::this_thread::sleep_for(50ms);
    socket.Interrupt();
  });
  EXPECT_FALSE(socket.ReceiveFor(10000ms, nothing));
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << "the receive waited out its limit";
  EXPECT_FALSE(socket.ReceiveFor(10000ms, nothing)) << "still interrupted";
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms);

  socket.Rearm();
  const auto rearmed = std::chrono::steady_clock::now();
  EXPECT_FALSE(socket.ReceiveFor(100ms, nothing));
  EXPECT_GE(std::chrono::steady_clock::now() - rearmed, 100ms);
}

}  // namespace
}  // namespace rmt4
