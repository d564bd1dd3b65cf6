// rmt4ctl serve against a running rmt4-console, driven by an independent OSC
// client: liblo's oscsend and oscdump, on loopback addresses only.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstdlib>
#include <filesystem>

#include "cli/ctl_serve.h"
#include "console_process.h"
#include "eventually.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "running_program.h"
#include "values/param_catalogue.h"
#include "values/param_numbers.h"

namespace rmt4::test {
namespace {

/// A UDP port nobody holds right now on 127.0.0.1.
std::uint16_t FreeUdpPort() {
  const UniqueFd probe(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const sockaddr_in any = SocketAddress(kLoopbackAddress, 0);
  if (::bind(probe.Get(), reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) return 0;
  return BoundPort(probe.Get());
}

bool HaveOscTools() { return std::system("command -v oscsend >/dev/null && command -v oscdump >/dev/null") == 0; }

class Rmt4ctlServeTest : public ::testing::Test {
 protected:
  Rmt4ctlServeTest() : console_(0x7F000100 | (10 + static_cast<unsigned>(::getpid() % 200)), 0, 0) {
    home_ = std::filesystem::temp_directory_path() / ("rmt4ctl-serve-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(home_);
    std::filesystem::create_directories(home_);
  }
  ~Rmt4ctlServeTest() override { std::filesystem::remove_all(home_); }

  void SetUp() override {
    ASSERT_TRUE(HaveOscTools()) << "oscsend and oscdump are needed: apt-get install liblo-tools";
    ASSERT_TRUE(console_.ready());
    const std::string command =
        "cd " + Quoted(home_.string()) + " && exec env -i HOME=" + Quoted(home_.string()) +
        " LANG=C RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_TCP_PORT=" + std::to_string(console_.tcpPort()) +
        " RMT4_UDP_PORT=" + std::to_string(console_.udpPort()) + " " + RMT4CTL_PATH + " --net " +
        console_.addressText() + " serve --osc 0 2>" + Quoted((home_ / "stderr").string());
    serve_.emplace(command);
    ASSERT_TRUE(serve_->WaitForOutput("\n", 20s)) << serve_->out;
    const std::string said = "serving OSC on 127.0.0.1:";
    ASSERT_EQ(serve_->out.rfind(said, 0), 0U) << serve_->out;
    port_ = static_cast<std::uint16_t>(std::stoi(serve_->out.substr(said.size())));
  }

  /// oscsend to the server; its exit status.
  int OscSend(const std::vector<std::string>& words) {
    std::string command = "oscsend 127.0.0.1 " + std::to_string(port_);
    for (const std::string& word : words) command.append(" ").append(Quoted(word));
    return std::system(command.c_str());
  }

  /// oscdump on a free port, made the sender's reply port and seen to answer.
  std::unique_ptr<RunningProgram> Listener() {
    const std::uint16_t port = FreeUdpPort();
    auto dump = std::make_unique<RunningProgram>("exec oscdump -L " + std::to_string(port));
    EXPECT_EQ(OscSend({"/reply_port", "i", std::to_string(port)}), 0);
    // oscdump says nothing when it is ready: ask until an answer shows.
    const bool answered = Eventually([&] {
      EXPECT_EQ(OscSend({"/status"}), 0);
      return dump->WaitForOutput("/status sss \"connected\"", 200ms);
    });
    EXPECT_TRUE(answered) << dump->out;
    return dump;
  }

  std::string ConsoleValue(ParamAddress address) {
    return console_.Ask("get " + std::to_string(address)).value_or("?");
  }

  ConsoleProcess console_;
  std::filesystem::path home_;
  std::optional<RunningProgram> serve_;
  std::uint16_t port_ = 0;
};

TEST_F(Rmt4ctlServeTest, SetsGetsRefusalsAndChangesOnTheConsoleReachEveryClientAndSigtermEndsIt) {
  const auto first = Listener();
  const ParamAddress fader = *FindParam("ch3.fader");
  const std::string held = std::to_string(fader) + " " + std::to_string(*ParseValue(fader, "-10dB").raw);
  ASSERT_EQ(OscSend({"/ch3/fader", "s", "-10dB"}), 0);
  EXPECT_TRUE(Eventually([&] { return ConsoleValue(fader) == held; })) << ConsoleValue(fader);

  ASSERT_EQ(OscSend({"/ch3/fader"}), 0);
  EXPECT_TRUE(first->WaitForOutput("/ch3/fader", 5s)) << first->out;
  EXPECT_TRUE(first->WaitForOutput(" \"-10.0 dB\"\n", 5s)) << first->out;
  ASSERT_EQ(OscSend({"/ch99/fader", "f", "0"}), 0);
  EXPECT_TRUE(first->WaitForOutput("/error ss \"/ch99/fader\" \"" + UnknownParamText("/ch99/fader") + "\"", 5s))
      << first->out;

  const ParamAddress followed = *FindParam("ch5.fader");
  ASSERT_EQ(OscSend({"/subscribe", "s", "/ch5/fader"}), 0);
  const auto second = Listener();  // the same machine's second program, at another reply port
  ASSERT_EQ(OscSend({"/subscribe", "s", "/ch5/*", "i", "60"}), 0);
  // A change typed on the console; the subscriptions are in place once the server has answered after them.
  second->out.clear();
  ASSERT_EQ(OscSend({"/status"}), 0);
  ASSERT_TRUE(second->WaitForOutput("/status", 5s));
  ASSERT_EQ(console_.Ask("set " + std::to_string(followed) + " 700"), "ok");
  const std::string text = " \"" + FormatValue(followed, 700) + "\"\n";
  for (RunningProgram* dump : {first.get(), second.get()}) {
    EXPECT_TRUE(dump->WaitForOutput(text, 10s)) << dump->out;
    EXPECT_NE(dump->out.find("/ch5/fader"), std::string::npos) << dump->out;
  }
  EXPECT_EQ(serve_->EndWith(SIGTERM), 0);
  EXPECT_NE(serve_->out.find(" dropped (malformed, oversized or from a sender not allowed), 1 refused\n"),
            std::string::npos) << serve_->out;
}

TEST_F(Rmt4ctlServeTest, PositionsPatternsMetersAndAFadeTheConsoleStops) {
  const auto dump = Listener();
  const ParamAddress ch3 = *FindParam("ch3.fader");
  ASSERT_EQ(OscSend({"/n/ch3/fader", "f", "0.5"}), 0);
  const std::string half = std::to_string(ch3) + " " + std::to_string(*ValueFromNormalised(ch3, 0.5).raw);
  EXPECT_TRUE(Eventually([&] { return ConsoleValue(ch3) == half; })) << ConsoleValue(ch3);

  ASSERT_EQ(OscSend({"/ch[12]/mute", "i", "1"}), 0);
  ASSERT_EQ(OscSend({"/ch{1,2}/mute"}), 0);
  for (const char* reply : {"/ch1/mute is 1 \"ON\"", "/ch2/mute is 1 \"ON\""}) {
    EXPECT_TRUE(dump->WaitForOutput(reply, 5s)) << dump->out;
  }
  ASSERT_EQ(OscSend({"/meters", "i", "1"}), 0);
  EXPECT_TRUE(dump->WaitForOutput("/meters ff ", 5s)) << dump->out;

  // The console's operator pulls the fader down during a 2 s fade up, below
  // where the fade began (a value it never wrote): the fade ends there.
  const ParamAddress ch4 = *FindParam("ch4.fader");
  const auto word = [&](const char* level) { return std::to_string(*ParseValue(ch4, level).raw); };
  ASSERT_EQ(console_.Ask("set " + std::to_string(ch4) + " " + word("-20dB")), "ok");
  const std::string start = std::to_string(ch4) + " " + word("-20dB");
  ASSERT_TRUE(Eventually([&] { return ConsoleValue(ch4) == start; }));
  const auto fadeEnds = std::chrono::steady_clock::now() + 2s;
  ASSERT_EQ(OscSend({"/ch4/fader/fade", "fi", "0", "2"}), 0);
  ASSERT_TRUE(Eventually([&] { return ConsoleValue(ch4) != start; }));
  ASSERT_EQ(console_.Ask("set " + std::to_string(ch4) + " " + word("-30dB")), "ok");
  std::this_thread::sleep_until(fadeEnds + 500ms);  // past the fade's end: nothing may move it any more
  EXPECT_EQ(ConsoleValue(ch4), std::to_string(ch4) + " " + word("-30dB"));
}

TEST(CtlServeOptions, BadOptionsAreRefusedBeforeAnythingConnects) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"serve", "--osc", "9000", "--osc-bind", "0.0.0.0", "--osc-allow", "10.0.0.0/8", "--osc-allow", "10.1.2.3"}, ""},
      {{"serve"}, "serve needs --osc PORT"},
      {{"serve", "--osc", "65536"}, "serve: --osc needs a UDP port 0..65535 (0: any free one), not '65536'"},
      {{"serve", "--osc", "9000", "--osc-bind", "localhost"}, "serve: The OSC address must be an IPv4 address such as 127.0.0.1, not \"localhost\""},
      {{"serve", "--osc", "9000", "--osc-allow", "10.0.0.0/33"},
       "serve: Who may send OSC must be an address or a network such as 192.168.1.0/24, not \"10.0.0.0/33\""},
      {{"serve", "--osc", "9000", "--osc-allow"}, "serve: --osc-allow needs a value"},
  };
  for (const auto& [command, refusal] : cases) EXPECT_EQ(ctl::ValidateCommand(command), refusal) << command.back();
}

}  // namespace
}  // namespace rmt4::test
