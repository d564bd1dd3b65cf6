// The program against a running rmt4-console on loopback: the window's own
// transports, and the rmt4 binary as a user starts it.
#ifdef RMT4_WITH_CONSOLE
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "console_process.h"
#include "i18n/language.h"
#include "modal_answer.h"
#include "param_writes.h"
#include "transport/transport_factory.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_label.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/output_strip.h"
#include "ui/main/strip_bank.h"

namespace rmt4::ui {
namespace {

// Each test its own console address, so that test programs can run side by side.
Ipv4Address ConsoleAddress(int test) { return 0x7F000000 | static_cast<Ipv4Address>(200 + (::getpid() % 20) * 2 + test); }

/// The environment that points the network transport at `console` only.
std::vector<std::pair<std::string, std::string>> NetworkEnvironment(const test::ConsoleProcess& console) {
  return {{"RMT4_CONNECTION_KIND", "2"},
          {"RMT4_LOCAL_ADDRESS", "127.0.0.1"},
          {"RMT4_BROADCAST_ADDRESS", FormatIpv4(console.address())},
          {"RMT4_TCP_PORT", std::to_string(console.tcpPort())},
          {"RMT4_UDP_PORT", std::to_string(console.udpPort())}};
}

TEST(Program, TheWindowFindsTheEmulatedConsoleOverTheNetwork) {
  test::ConsoleProcess console(ConsoleAddress(0), 0, 0);
  ASSERT_TRUE(console.ready());
  for (const auto& [name, value] : NetworkEnvironment(console)) ::setenv(name.c_str(), value.c_str(), 1);
  (void)SetCurrentLanguage(LanguageIndex::English);

  QTemporaryDir folder;
  LinkWorker::Options options;
  options.makeTransport = MakeTransportFactory(TransportChoice{});
  options.readConfiguration = [] { return LinkConfiguration{kNetwork, 128000}; };
  options.sceneFolders = AppFolders{folder.filePath("scenes").toStdString(), folder.filePath("fallback").toStdString()};
  MainWindow window(std::move(options));
  window.show();
  EXPECT_TRUE(test::PumpUntil([&] { return window.button(3)->text() == "Successful"; }, 15000));
  EXPECT_EQ(window.titleLabel()->text(), "RMT-4-NET");
  EXPECT_EQ(console.Ask("peer"), "peer 127.0.0.1");
  ASSERT_TRUE(test::PumpUntil([&] { return window.link().SyncCount() >= 1; }, 15000));

  // A fader moved on the console moves CH3's fader in the window.
  InputStrip& ch3 = window.strips().inputStrip(2);
  ASSERT_TRUE(console.Ask("set 136 1200").has_value());
  EXPECT_TRUE(test::PumpUntil([&] { return ch3.ReadControl(StripCode::Fader) == 1200; }));

  // MUTE pressed in the window reaches the console; how soon is checked on
  // the link's simulated clock, where a busy machine cannot blur it.
  ParamTable& params = window.link().params();
  const std::vector<std::uint16_t> snapshot = test::Snapshot(params);
  QTest::mouseClick(&ch3.button(StripCode::Mute), Qt::LeftButton);
  const std::vector<ParamAddress> changed = test::WaitForWrites(params, snapshot);
  ASSERT_FALSE(changed.empty()) << "MUTE wrote nothing";
  EXPECT_TRUE(test::PumpUntil([&] {
    for (ParamAddress a : changed) {
      if (console.Ask("get " + std::to_string(a)) != std::to_string(a) + " " + std::to_string(params.Value(a))) {
        return false;
      }
    }
    return true;
  })) << "MUTE never reached the console";

  // The meters move while the console plays.
  std::set<int> levels;
  test::PumpUntil([&] {
    levels.insert(window.strips().outputStrip().leftMeter().level() * 100 +
                  window.strips().outputStrip().rightMeter().level());
    return levels.size() >= 3;
  }, 5000);
  EXPECT_GE(levels.size(), 3u) << "the meters stand still";
}

TEST(Program, TheProgramStartsConnectsAndEndsOnRequest) {
  test::ConsoleProcess console(ConsoleAddress(1), 0, 0);
  ASSERT_TRUE(console.ready());
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());

  // A fresh user: no settings, its own lock folder, no display. Built before
  // the fork: the child of a threaded process may only exec.
  std::vector<std::string> variables = {"HOME=" + home.path().toStdString(),
                                        "XDG_RUNTIME_DIR=" + home.path().toStdString(),
                                        "XDG_DATA_HOME=" + home.filePath("data").toStdString(),
                                        "QT_QPA_PLATFORM=offscreen", "LANG=C", "PATH=/usr/bin:/bin"};
  for (const auto& [name, value] : NetworkEnvironment(console)) variables.push_back(name + "=" + value);
  std::vector<char*> environment;
  for (std::string& variable : variables) environment.push_back(variable.data());
  environment.push_back(nullptr);
  char* const arguments[] = {const_cast<char*>(RMT4_PROGRAM_PATH), nullptr};

  const pid_t program = ::fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    ::execve(RMT4_PROGRAM_PATH, arguments, environment.data());
    ::_exit(127);
  }

  bool connected = false;
  for (int attempt = 0; attempt < 150 && !connected; ++attempt) {
    connected = console.Ask("peer") == std::optional<std::string>("peer 127.0.0.1");
    if (!connected) ::usleep(100'000);
  }
  EXPECT_TRUE(connected) << "rmt4 never connected";
  // The program holds the single-instance lock in its runtime folder.
  EXPECT_TRUE(QFile::exists(home.filePath("RMT-4.lock")));

  // A logout's SIGTERM ends the program as "Yes" does: link closed, exit status 0.
  ::kill(program, SIGTERM);
  int status = 0;
  bool ended = false;
  for (int attempt = 0; attempt < 50 && !ended; ++attempt) {
    ended = ::waitpid(program, &status, WNOHANG) == program;
    if (!ended) ::usleep(100'000);
  }
  if (!ended) {
    ::kill(program, SIGKILL);
    ::waitpid(program, &status, 0);
  }
  ASSERT_TRUE(ended) << "rmt4 still ran 5 s after SIGTERM";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_TRUE(test::PumpUntil([&] { return console.Ask("peer") == std::optional<std::string>("peer none"); }, 2000))
      << "the console still holds the program's connection";
}

}  // namespace
}  // namespace rmt4::ui
#endif
