// The emulator program driven over TCP and UDP on loopback, as the PC would.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "support/console_process.h"
#include "peer_clients.h"
#include "protocol/frame_parser.h"
#include "protocol/link_state.h"

namespace rmt4::emulator::test {

using rmt4::test::ConsoleProcess;
namespace {

TEST(EmulatorTcp, AnswersTheConnectProbeAndACompleteRead) {
  ConsoleProcess emulator("127.0.1.1");
  ASSERT_TRUE(emulator.ready());
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  ASSERT_TRUE(pc.IsOpen());

  // The probe the PC sends after connecting: ReadParams for address 0.
  const std::uint8_t probe[] = {0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5};
  pc.SendRaw(probe);
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{0, 20024}}));

  // The PC's own parser takes the whole dump.
  LinkState state;
  FrameParser parser(state);
  pc.Send(Command::DumpAll, {0});
  const auto dump = pc.Collect(26);
  ASSERT_EQ(dump.size(), 26u);
  for (const auto& frame : dump) {
    const auto bytes = LinkFrame::Build(static_cast<Command>(frame.command), frame.payload);
    parser.Parse(bytes->Bytes());
  }
  for (ParamAddress a = 0; a < kParamCount; ++a) ASSERT_TRUE(state.params[a].received.load()) << a;
}

TEST(EmulatorTcp, ConsoleSideChangesReachThePcUnsolicited) {
  ConsoleProcess emulator("127.0.1.2");
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  pc.Send(Command::ReadParams, ReadRequest({136}));
  ASSERT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{136, 0}}));  // connected and served

  EXPECT_EQ(emulator.Ask("set 136 1100"), "ok");
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{136, 1100}}));
  EXPECT_EQ(emulator.Ask("get 136"), "136 1100");

  // And the PC's writes show on the console.
  Bytes write;
  AppendWord(write, 1106);
  AppendWord(write, 150);
  pc.Send(Command::WriteParams, write);
  const auto echo = pc.Next();
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->payload, write);
  EXPECT_EQ(emulator.Ask("get 1106"), "1106 150");
}

TEST(EmulatorTcp, OnePcAtATimeAndTheNextAfterItLeaves) {
  ConsoleProcess emulator("127.0.1.3");
  UdpPeer module;
  EXPECT_EQ(module.Ask(emulator.addressText(), emulator.udpPort(), "Get_LinkIP:"), "Get_LinkIP:00000000");
  {
    FramePeer first = ConnectTcp(emulator.addressText(), emulator.tcpPort());
    first.Send(Command::ReadParams, ReadRequest({0}));
    ASSERT_EQ(first.Collect(1).size(), 1u);
    EXPECT_EQ(emulator.Ask("peer"), "peer 127.0.0.1");
    EXPECT_EQ(module.Ask(emulator.addressText(), emulator.udpPort(), "Get_LinkIP:"), "Get_LinkIP:7F000001");

    FramePeer second = ConnectTcp(emulator.addressText(), emulator.tcpPort());
    EXPECT_TRUE(second.ClosedWithin(2s)) << "a second PC is turned away";
    first.Send(Command::ReadParams, ReadRequest({0}));
    EXPECT_EQ(first.Collect(1).size(), 1u) << "the first PC is still served";
  }
  // The first PC has closed; the next one is accepted at once.
  FramePeer next = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  next.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_EQ(next.Collect(1).size(), 1u);
}

TEST(EmulatorTcp, UnplugDropsTheConnection) {
  ConsoleProcess emulator("127.0.1.4");
  EXPECT_EQ(emulator.Ask("unplug"), "none");
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  pc.Send(Command::ReadParams, ReadRequest({0}));
  ASSERT_EQ(pc.Collect(1).size(), 1u);
  EXPECT_EQ(emulator.Ask("unplug"), "ok");
  EXPECT_TRUE(pc.ClosedWithin(2s));
  EXPECT_EQ(emulator.Ask("peer"), "peer none");
}

TEST(EmulatorTcp, SurvivesGarbageFloodsAndKeepsServing) {
  ConsoleProcess emulator("127.0.1.5");
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  std::mt19937 random(3);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes garbage(1 << 20);
  for (auto& b : garbage) b = static_cast<std::uint8_t>(byte(random));
  garbage[0] = 0x80;
  garbage[1] = 0xFF;  // an oversize length at the start
  pc.SendRaw(garbage);
  // Frames with a wrong CRC go unanswered.
  Bytes badCrc = {0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC6};
  pc.SendRaw(badCrc);
  // Enough bytes to complete any candidate left over from the garbage.
  pc.SendRaw(Bytes(300, 0x00));
  while (pc.Next(300ms)) {
  }  // drop whatever the garbage happened to contain

  pc.Send(Command::ReadParams, ReadRequest({1204}));
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{1204, 1}}));
  EXPECT_EQ(emulator.Ask("get 0"), "0 20024");
}

TEST(EmulatorTcp, APcThatStopsReadingCannotSwellItsMemory) {
  ConsoleProcess emulator("127.0.1.10");
  FramePeer pc = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  const long before = emulator.ResidentKilobytes();
  // Each request asks for about 6.5 kB; all of them together for 65 MB.
  Bytes requests;
  const auto dump = LinkFrame::Build(Command::DumpAll, Bytes{0});
  for (int i = 0; i < 10000; ++i) requests.insert(requests.end(), dump->Bytes().begin(), dump->Bytes().end());
  pc.SendRaw(requests);
  std::this_thread::sleep_for(500ms);           // time to answer every request it has read
  EXPECT_EQ(emulator.Ask("get 0"), "0 20024");  // still serving its console
  const long after = emulator.ResidentKilobytes();
  EXPECT_LT(after - before, 16 * 1024) << "kB grown while the replies could not go out, from " << before;

  while (pc.Next(1500ms)) {
  }  // take what was queued; a reply cut short by the stall is lost, not the link
  pc.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_EQ(ValuesIn(pc.Collect(1)), (std::map<int, int>{{0, 20024}}));
}

TEST(EmulatorUdp, AnswersModuleCommandsToTheSender) {
  ConsoleProcess emulator("127.0.1.6");
  UdpPeer pc;
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), "Get_IP:"), "Get_IP:7F000106");
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), std::string("Get_TCPPort:\0", 13)),
            "Get_TCPPort:" + std::to_string(emulator.tcpPort()));
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), "Set_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB"), "Set_Confi:OK");
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), "Get_Confi:"), "Get_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB\r");

  // The same module answers over the frame link.
  FramePeer link = ConnectTcp(emulator.addressText(), emulator.tcpPort());
  link.Send(Command::ModuleText, Bytes{'G', 'e', 't', '_', 'C', 'o', 'n', 'f', 'i', ':'});
  const auto reply = link.Next();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, static_cast<std::uint8_t>(Command::ModuleText));
  EXPECT_EQ(std::string(reply->payload.begin(), reply->payload.end()), "Get_Confi:10.0.0.2 255.0.0.0 10.0.0.1 AB\r");
}

TEST(EmulatorUdp, ThePcCanShareThePortOnTheWildcardAddress) {
  ConsoleProcess emulator("127.0.1.11");
  UdpPeer pc(emulator.udpPort());  // the PC's discovery socket, same port number
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), "Get_IP:"), "Get_IP:7F00010B");
}

TEST(EmulatorUdp, IgnoresGarbageDatagramsAndKeepsAnswering) {
  ConsoleProcess emulator("127.0.1.7");
  UdpPeer pc;
  std::mt19937 random(9);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 500; ++i) {
    Bytes datagram(static_cast<std::size_t>(i % 3 == 0 ? 1400 : i % 40));
    for (auto& b : datagram) b = static_cast<std::uint8_t>(byte(random));
    pc.Send(emulator.addressText(), emulator.udpPort(), datagram);
  }
  pc.Send(emulator.addressText(), emulator.udpPort(), Bytes(9000, 'G'));  // longer than any datagram it reads
  while (pc.Receive(200ms)) {
  }
  EXPECT_EQ(pc.Ask(emulator.addressText(), emulator.udpPort(), "Get_IP:"), "Get_IP:7F000107");
}

TEST(EmulatorSideBySide, TwoConsolesShareThePortNumbersOnTheirOwnAddresses) {
  ConsoleProcess first("127.0.1.8");
  ASSERT_TRUE(first.ready());
  ConsoleProcess second("127.0.1.9", {"--tcp-port", std::to_string(first.tcpPort()), "--udp-port",
                                       std::to_string(first.udpPort()), "--device-type", "20025"});
  ASSERT_TRUE(second.ready());
  EXPECT_EQ(second.tcpPort(), first.tcpPort());
  EXPECT_EQ(second.udpPort(), first.udpPort());

  UdpPeer pc;
  EXPECT_EQ(pc.Ask(first.addressText(), first.udpPort(), "Get_IP:"), "Get_IP:7F000108");
  EXPECT_EQ(pc.Ask(second.addressText(), second.udpPort(), "Get_IP:"), "Get_IP:7F000109");

  FramePeer a = ConnectTcp(first.addressText(), first.tcpPort());
  FramePeer b = ConnectTcp(second.addressText(), second.tcpPort());
  a.Send(Command::ReadParams, ReadRequest({0}));
  b.Send(Command::ReadParams, ReadRequest({0}));
  EXPECT_EQ(ValuesIn(a.Collect(1)), (std::map<int, int>{{0, 20024}}));
  EXPECT_EQ(ValuesIn(b.Collect(1)), (std::map<int, int>{{0, 20025}}));

  // Separate consoles: a change on one is not seen on the other.
  EXPECT_EQ(first.Ask("set 136 5"), "ok");
  EXPECT_EQ(second.Ask("get 136"), "136 0");
}

}  // namespace
}  // namespace rmt4::emulator::test
