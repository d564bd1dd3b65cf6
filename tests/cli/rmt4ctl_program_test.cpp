// rmt4ctl as a user runs it, against a running rmt4-console on loopback.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <future>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "console_process.h"
#include "eventually.h"
#include "running_program.h"
#include "files/scene_file.h"
#include "history/change_log.h"
#include "i18n/label_text.h"
#include "platform/app_folders.h"
#include "platform/ipv4_address.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "values/param_catalogue.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

struct CtlRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

int CountLines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

class Rmt4ctlProgramTest : public ::testing::Test {
 protected:
  // Each test has its own console address, so tests can run side by side.
  explicit Rmt4ctlProgramTest(const std::vector<std::string>& faults = {},
                              Ipv4Address consoleAddress = 0x7F000000 | (60 + Counter()))
      : console_(consoleAddress, 0, 0, faults) {
    home_ = std::filesystem::temp_directory_path() /
            ("rmt4ctl-test-" + std::to_string(::getpid()) + "-" + std::to_string(consoleAddress & 0xFF));
    std::filesystem::remove_all(home_);
    std::filesystem::create_directories(home_);
  }
  ~Rmt4ctlProgramTest() override { std::filesystem::remove_all(home_); }

  static unsigned Counter() {
    static unsigned next = 0;
    return next++ % 150 + static_cast<unsigned>(::getpid() % 40);
  }

  /// Runs rmt4ctl with a clean environment: English, settings in a private
  /// folder, the network pointed at the emulator, plus `variables` ("NAME=VALUE ...", quoted).
  CtlRun Ctl(const std::vector<std::string>& arguments, const std::string& variables = "") {
    CtlRun run;
    FILE* pipe = ::popen(CommandLine(arguments, variables).c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, count);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = Errors();
    return run;
  }
  CtlRun Net(const std::vector<std::string>& arguments, const std::string& variables = "") {
    return Ctl(NetArguments(arguments), variables);
  }
  std::vector<std::string> NetArguments(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--net", FormatIpv4(console_.address()), "--timeout", "15"});
    return arguments;
  }
  /// The shell line that runs rmt4ctl (as the shell's last act) with `arguments`, its errors to Errors().
  std::string CommandLine(const std::vector<std::string>& arguments, const std::string& variables) {
    std::string command = "cd " + Quoted(home_.string()) + " && exec env -i " + variables +
                          " HOME=" + Quoted(home_.string()) +
                          " LANG=C RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_TCP_PORT=" + std::to_string(console_.tcpPort()) +
                          " RMT4_UDP_PORT=" + std::to_string(console_.udpPort()) + " " + RMT4CTL_PATH;
    for (const std::string& argument : arguments) command.append(" ").append(Quoted(argument));
    return command.append(" 2>").append(Quoted((home_ / "stderr").string()));
  }
  std::string Errors() {
    std::ifstream in(home_ / "stderr");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  /// The console's state as `scene save` keeps it, with `changes` made, written to `path`.
  void SaveSceneWith(const std::string& path, const std::function<void(std::vector<std::uint16_t>&)>& changes) {
    const std::string saved = (home_ / "saved.mxb").string();
    std::filesystem::remove(saved);
    ASSERT_EQ(Net({"scene", "save", saved}).exitCode, 0);
    SceneFile scene(CurrentAppFolders());
    ASSERT_EQ(scene.LoadSceneFile(saved), SceneFileResult::kOk);
    changes(scene.values);
    ASSERT_EQ(scene.WriteSceneFile(path, std::span<const std::uint16_t, kSceneParamCount>(scene.values.data(),
                                                                                           kSceneParamCount)),
              SceneFileResult::kOk);
  }
  std::string ConsoleValue(int address) { return console_.Ask("get " + std::to_string(address)).value_or("?"); }

  ConsoleProcess console_;
  std::filesystem::path home_;
};

TEST_F(Rmt4ctlProgramTest, StatusReadsEverything) {
  ASSERT_TRUE(console_.ready());
  const CtlRun run = Net({"status"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("device type: 20024"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("values read: 1574 of 1574"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("read complete after:"), std::string::npos);
}

TEST_F(Rmt4ctlProgramTest, WatchSeesAChangeMadeWhileTheLinkWasDown) {
  ASSERT_TRUE(console_.ready());
  RunningProgram watching(CommandLine(NetArguments({"watch", "120"}), ""));
  ASSERT_TRUE(watching.started());
  // Watching once a change on the console is printed; before the complete read ends, none is.
  bool watched = false;
  for (int value = 100; value < 400 && !watched; ++value) {
    ASSERT_EQ(console_.Ask("set 136 " + std::to_string(value)), "ok");
    watched = watching.WaitForOutput("136 " + std::to_string(value) + "\n", 100ms);
  }
  ASSERT_TRUE(watched) << watching.out << Errors();

  ASSERT_EQ(console_.Ask("unplug"), "ok");
  ASSERT_EQ(console_.Ask("set 136 777"), "ok");  // on the console, while the PC is not linked
  EXPECT_TRUE(watching.WaitForOutput("136 777\n", 30s)) << watching.out << Errors();
  EXPECT_EQ(watching.Interrupt(), 0) << Errors();
}

TEST_F(Rmt4ctlProgramTest, WatchingABitNamePrintsOnlyWhenItsBitChanges) {
  ASSERT_TRUE(console_.ready());
  const std::string word = std::to_string(*FindParam("ch2.mute"));
  RunningProgram watching(CommandLine(NetArguments({"watch", "120", "ch2.mute", "ch2.48v"}), ""));
  ASSERT_TRUE(watching.started());
  bool watched = false;
  for (int toggle = 0; toggle < 300 && !watched; ++toggle) {
    ASSERT_EQ(console_.Ask("set " + word + (toggle % 2 == 0 ? " 13" : " 12")), "ok");
    watched = watching.WaitForOutput("ch2.48v: ON\n", 100ms);
  }
  ASSERT_TRUE(watched) << watching.out << Errors();
  watching.out.clear();
  ASSERT_EQ(console_.Ask("set " + word + " 5"), "ok");  // muted, 48V as it was
  ASSERT_TRUE(watching.WaitForOutput("ch2.mute: ON 48V\n", 10s)) << watching.out << Errors();
  ASSERT_EQ(console_.Ask("set " + word + " 4"), "ok");
  EXPECT_TRUE(watching.WaitForOutput("ch2.48v: OFF\n", 10s)) << watching.out << Errors();
  EXPECT_EQ(watching.out, "ch2.mute: ON 48V\nch2.mute: ON\nch2.48v: OFF\n");
  EXPECT_EQ(watching.Interrupt(), 0) << Errors();
}

TEST_F(Rmt4ctlProgramTest, TraceRecordsTheSessionAndItsOptionWinsOverTheVariable) {
  ASSERT_TRUE(console_.ready());
  const std::string unwritable = (home_ / "missing" / "trace.txt").string();
  const std::filesystem::path trace = home_ / "trace.txt";
  const CtlRun traced = Net({"--trace", trace.string(), "status"}, "RMT4_TRACE=" + Quoted(unwritable));
  EXPECT_EQ(traced.exitCode, 0) << traced.err;
  EXPECT_EQ(traced.err.find("trace"), std::string::npos) << traced.err;
  std::ifstream in(trace);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const std::string& expected : std::vector<std::string>{" out DeviceQuery 80 04 00 ", " in  ReadParams 80 ",
                                                              " event status connected\n",
                                                              " event tcp connected " + FormatIpv4(console_.address())}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text.substr(0, 2000);
  }

  // Without the option the variable counts: a file that cannot be written is said, and the command goes on.
  const CtlRun untraced = Net({"get", "0"}, "RMT4_TRACE=" + Quoted(unwritable));
  EXPECT_EQ(untraced.exitCode, 0) << untraced.err;
  EXPECT_EQ(untraced.out, "0 20024\n");
  EXPECT_NE(untraced.err.find("cannot open " + unwritable), std::string::npos) << untraced.err;
}

TEST_F(Rmt4ctlProgramTest, GetSetAndDumpAgreeWithTheConsole) {
  ASSERT_TRUE(console_.ready());
  ASSERT_EQ(console_.Ask("set 136 777"), "ok");
  CtlRun get = Net({"get", "136", "0"});
  EXPECT_EQ(get.exitCode, 0) << get.err;
  EXPECT_EQ(get.out, "136 777\n0 20024\n");

  const CtlRun set = Net({"set", "136=1000", "970=500"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(ConsoleValue(136), "136 1000");
  EXPECT_EQ(ConsoleValue(1038), "1038 500") << "the MAIN fader's twin follows";

  const CtlRun dump = Net({"dump"});
  EXPECT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(CountLines(dump.out), 1574);
  std::istringstream lines(dump.out);
  std::string line;
  for (int address = 0; std::getline(lines, line); ++address) {
    if (address == 7 || address % 37 != 0) continue;  // the meters move; a sample suffices
    EXPECT_EQ(line, ConsoleValue(address));
  }
}

TEST_F(Rmt4ctlProgramTest, SceneSavedAndUploadedRoundTrips) {
  ASSERT_TRUE(console_.ready());
  ASSERT_EQ(console_.Ask("set 136 1234"), "ok");
  const std::string path = (home_ / "show.mxb").string();
  const CtlRun save = Net({"scene", "save", path});
  EXPECT_EQ(save.exitCode, 0) << save.err;
  ASSERT_TRUE(std::filesystem::exists(path));

  const CtlRun show = Ctl({"scene", "show", path});
  EXPECT_EQ(show.exitCode, 0) << show.err;
  EXPECT_NE(show.out.find("device type: 20024"), std::string::npos);
  EXPECT_NE(show.out.find("\n136 1234\n"), std::string::npos);

  ASSERT_EQ(console_.Ask("set 136 10"), "ok");
  const CtlRun upload = Net({"scene", "upload", path});
  EXPECT_EQ(upload.exitCode, 0) << upload.err;
  EXPECT_EQ(ConsoleValue(136), "136 1234");
  EXPECT_NE(upload.err.find("[no; --yes answers yes]"), std::string::npos) << "the question is answered No";
}

TEST_F(Rmt4ctlProgramTest, AnUnreadableSceneIsRefusedBeforeAnythingIsSentOrAsked) {
  ASSERT_TRUE(console_.ready());
  std::ofstream(home_ / "broken.mxb") << "not a scene";
  for (const std::filesystem::path& path : {home_ / "missing.mxb", home_ / "broken.mxb"}) {
    // --yes would store whatever the console holds as the current mode, were it asked.
    const CtlRun upload = Net({"--yes", "scene", "upload", path.string()});
    EXPECT_EQ(upload.exitCode, 4) << path << upload.err;
    EXPECT_NE(upload.err.find("cannot read the scene file"), std::string::npos) << upload.err;
    EXPECT_EQ(upload.err.find("[yes]"), std::string::npos) << upload.err;
  }
}

TEST_F(Rmt4ctlProgramTest, SceneUploadLeavesTheWordsTheConsoleDoesNotStore) {
  ASSERT_TRUE(console_.ready());
  std::array<std::uint16_t, kParamCount> values{};
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = DefaultValue(a);
  values[address::kLevelMeters] = 0x77;  // the meters as they stood when the scene was saved
  SceneFile scene(CurrentAppFolders(), 7);
  scene.header.fileDeviceType = kSupportedDeviceType;
  const std::string path = (home_ / "meters.mxb").string();
  ASSERT_EQ(scene.WriteSceneFile(path, values), SceneFileResult::kOk);
  const CtlRun upload = Net({"scene", "upload", path});
  EXPECT_EQ(upload.exitCode, 0) << upload.err;
  EXPECT_EQ(upload.err.find("Unconfirmed"), std::string::npos) << upload.err;

  // A scene the upload would refuse lists nothing in a dry run either.
  values[*FindParam("ch3.fader")] = 1100;
  scene.header.fileDeviceType = 4321;
  const std::string foreign = (home_ / "foreign.mxb").string();
  ASSERT_EQ(scene.WriteSceneFile(foreign, values), SceneFileResult::kOk);
  const CtlRun dryRun = Net({"scene", "upload", foreign, "--dry-run"});
  EXPECT_EQ(dryRun.exitCode, 1);
  EXPECT_EQ(dryRun.out, "");
  EXPECT_NE(dryRun.err.find(LabelText(LabelId::WrongFileVersion)), std::string::npos) << dryRun.err;
}

/// The console's word at `name`, as the emulator holds it.
std::uint16_t HeldWord(ConsoleProcess& console, const std::string& name) {
  const std::string answer = console.Ask("get " + std::to_string(*FindParam(name))).value_or("");
  return static_cast<std::uint16_t>(std::stoul(answer.substr(answer.find(' ') + 1)));
}

TEST_F(Rmt4ctlProgramTest, AnUploadWithOnlyWritesTheChannelItNames) {
  ASSERT_TRUE(console_.ready());
  const std::string path = (home_ / "show.mxb").string();
  const std::uint16_t ch5Fader = HeldWord(console_, "ch5.fader");
  // Every channel's fader and on/off differ from the console's.
  SaveSceneWith(path, [](auto& values) {
    for (int ch = 1; ch <= 8; ++ch) {
      const std::string channel = "ch" + std::to_string(ch);
      values[*FindParam(channel + ".fader")] = 1100;
      values[*FindParam(channel + ".mute")] ^= 0x8;
    }
  });
  const std::uint16_t ch3Mute = HeldWord(console_, "ch3.mute");
  const CtlRun upload = Net({"scene", "upload", path, "--only", "ch3.*"});
  EXPECT_EQ(upload.exitCode, 0) << upload.err;
  EXPECT_EQ(upload.out, "ch3.mute: OFF \u2192 ON\nch3.fader: -inf \u2192 -10.0 dB\n");
  EXPECT_EQ(HeldWord(console_, "ch3.fader"), 1100);
  EXPECT_EQ(HeldWord(console_, "ch3.mute"), ch3Mute ^ 0x8);
  EXPECT_EQ(HeldWord(console_, "ch5.fader"), ch5Fader) << "out of scope";
}

TEST_F(Rmt4ctlProgramTest, PhantomPowerIsSafeUntilTheUserTakesItOff) {
  ASSERT_TRUE(console_.ready());
  const std::string path = (home_ / "phantom.mxb").string();
  for (int ch = 1; ch <= 8; ++ch) {
    const std::string mute = "ch" + std::to_string(ch) + ".mute";
    ASSERT_EQ(console_.Ask("set " + std::to_string(*FindParam(mute)) + " 8"), "ok");  // on, 48V off
  }
  // 48V on for every channel, and every channel switched off.
  SaveSceneWith(path, [](auto& values) {
    for (int ch = 1; ch <= 8; ++ch) values[*FindParam("ch" + std::to_string(ch) + ".mute")] = 0x1;
  });
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string firstLine;  ///< of standard output
    std::uint16_t mutes;    ///< every channel's word on the console afterwards
  } steps[] = {
      {{"scene", "upload", path, "--dry-run"}, 1, "ch1.mute: OFF \u2192 ON\n", 8},
      {{"scene", "upload", path}, 0, "ch1.mute: OFF \u2192 ON\n", 0},
      {{"scene", "upload", path, "--dry-run"}, 0, "", 0},  // nothing left but the safe 48V
      {{"safe", "remove", "ch*.48v"}, 0, "", 0},
      {{"scene", "upload", path, "--dry-run"}, 1, "ch1.48v: OFF \u2192 ON\n", 0},
  };
  for (const auto& step : steps) {
    const CtlRun run = step.words[0] == "safe" ? Ctl(step.words) : Net(step.words);
    EXPECT_EQ(run.exitCode, step.exitCode) << step.words.back() << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), step.firstLine) << run.out;
    EXPECT_EQ(CountLines(run.out), step.firstLine.empty() ? 0 : 8) << run.out;
    const bool safe = step.words[0] == "scene" && step.firstLine.find("48v") == std::string::npos;
    EXPECT_EQ(run.err.find("rmt4ctl: kept, safe: ch8.48v: OFF \u2192 ON\n") != std::string::npos, safe) << run.err;
    for (int ch = 1; ch <= 8; ++ch) EXPECT_EQ(HeldWord(console_, "ch" + std::to_string(ch) + ".mute"), step.mutes) << ch;
  }
}

TEST_F(Rmt4ctlProgramTest, SafesAreListedAddedAndRemovedWithoutAConsole) {
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string listed;  ///< by `safe list` afterwards
    std::string said;    ///< on standard error
  } steps[] = {
      {{"safe", "list"}, 0, "ch*.48v\n", ""},
      {{"safe", "add", "ch[1-4].eq*"}, 0, "ch*.48v\nch[1-4].eq*\n", ""},
      {{"safe", "add", "CH*.48V"}, 0, "ch*.48v\nch[1-4].eq*\n", "ch*.48v is safe already"},
      {{"safe", "add", "ch9.*"}, 2, "ch*.48v\nch[1-4].eq*\n", "no parameter is called 'ch9.*'"},
      {{"safe", "remove", "aux2.*"}, 2, "ch*.48v\nch[1-4].eq*\n", "the safes are: ch*.48v ch[1-4].eq*"},
      {{"safe", "remove", "ch*.48v"}, 0, "ch[1-4].eq*\n", ""},
      {{"safe", "remove", "ch[1-4].eq*"}, 0, "", ""},
      {{"safe", "list"}, 0, "", "no safes"},
      {{"safe", "drop", "ch1.*"}, 2, "", "safe takes list, add PATTERN or remove PATTERN"},
  };
  for (const auto& step : steps) {
    const CtlRun run = Ctl(step.words);
    EXPECT_EQ(run.exitCode, step.exitCode) << step.words.back() << run.err;
    EXPECT_NE(run.err.find(step.said), std::string::npos) << run.err;
    EXPECT_EQ(Ctl({"safe", "list"}).out, step.listed) << step.words.back();
  }
}

TEST_F(Rmt4ctlProgramTest, ModesAreListedRenamedAndRecalled) {
  ASSERT_TRUE(console_.ready());
  const CtlRun rename = Net({"mode", "rename", "3", "Evening"});
  EXPECT_EQ(rename.exitCode, 0) << rename.err;
  const CtlRun recall = Net({"mode", "recall", "3"});
  EXPECT_EQ(recall.exitCode, 0) << recall.err;
  EXPECT_EQ(ConsoleValue(1204), "1204 3");
  const CtlRun modes = Net({"modes"});
  EXPECT_EQ(modes.exitCode, 0) << modes.err;
  EXPECT_EQ(CountLines(modes.out), 12);
  EXPECT_NE(modes.out.find("* 3 Evening"), std::string::npos) << modes.out;
}

TEST_F(Rmt4ctlProgramTest, NetworkModuleConfigurationIsRead) {
  ASSERT_TRUE(console_.ready());
  const CtlRun get = Net({"netconf", "get"});
  EXPECT_EQ(get.exitCode, 0) << get.err;
  EXPECT_NE(get.out.find("address: "), std::string::npos);
  EXPECT_NE(get.out.find("mac: "), std::string::npos);
}

TEST_F(Rmt4ctlProgramTest, NetworkSettingsAreCheckedThenConfirmedByTheModule) {
  ASSERT_TRUE(console_.ready());
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"netconf", "set", "10.0.0.300", "255.0.0.0", "10.0.0.1", "02-00-00-00-00-07"}, "IP: "},
      {{"netconf", "set", "10.0.0.7", "255.0.0.0", "11.0.0.1", "02-00-00-00-00-07"}, "Gateway: "},
      {{"netconf", "set", "10.0.0.7", "255.0.0.0", "10.0.0.1", "02:00:00:00:00:07"}, "MAC: "}};
  for (const auto& [command, named] : refused) {
    const CtlRun run = Net(command);
    EXPECT_EQ(run.exitCode, 2) << command[2] << " " << command[5] << run.err;
    EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
  }

  // 198.51.100.0/24 is kept for documentation: no PC running the tests is on it.
  const CtlRun asked = Net({"netconf", "set", "198.51.100.7", "255.255.255.0", "0.0.0.0", "02-00-00-00-00-07"});
  EXPECT_EQ(asked.exitCode, 2) << asked.err;
  EXPECT_NE(asked.err.find("will not reach"), std::string::npos) << asked.err;
  EXPECT_EQ(Net({"netconf", "get"}).out.find("198.51.100.7"), std::string::npos) << "nothing was stored";

  const CtlRun set = Net({"--yes", "netconf", "set", "198.51.100.7", "255.255.255.0", "0.0.0.0", "02-00-00-00-00-07"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(Net({"netconf", "get"}).out,
            "address: 198.51.100.7\nmask: 255.255.255.0\ngateway: 0.0.0.0\nmac: 02-00-00-00-00-07\n");
}

TEST_F(Rmt4ctlProgramTest, NamesAndUnitsReadAndWriteTheConsole) {
  ASSERT_TRUE(console_.ready());
  const CtlRun set = Net({"set", "ch1.fader=-6dB", "ch1.pfl=on"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(ConsoleValue(50), "50 1140");
  EXPECT_EQ(ConsoleValue(59), "59 34068");
  EXPECT_EQ(ConsoleValue(60), "60 34068") << "the PFL companion is written with it";

  const CtlRun get = Net({"get", "CH1.Fader", "ch1.pfl*"});
  EXPECT_EQ(get.exitCode, 0) << get.err;
  EXPECT_EQ(get.out, "ch1.fader: -6.0 dB\nch1.pfl: ON\nch1.pfl.linked: ON\n");
  EXPECT_EQ(Net({"--raw", "get", "ch1.fader"}).out, "50 1140\n");

  const CtlRun history = Ctl({"history", "ch1.*"});
  EXPECT_EQ(history.exitCode, 0) << history.err;
  for (const char* logged : {"\tpc\t1\tch1.fader\t", "\t-6.0 dB\n", "\tpc\t1\tch1.pfl\tOFF\t\u2192\tON\n"}) {
    EXPECT_NE(history.out.find(logged), std::string::npos) << "the set is one step of the day's log: " << history.out;
  }
}

TEST_F(Rmt4ctlProgramTest, ANamedSwitchChangesOnlyItsOwnBitsOfTheWordTheConsoleHolds) {
  ASSERT_TRUE(console_.ready());
  const struct {
    std::string name;
    int held;
    std::string typed;
    int written;
  } cases[] = {
      {"ch1.mute", 13, "on", 5},                        // 48V stays on
      {"ch2.mute", 5, "48V-OFF", 4},                    // the mute stays
      {"ch3.mute", 8, "48V", 9},                        // the channel stays on
      {"ch4.pfl", 1300, "off", 0},                      // bit 15 is the console's: it stays clear
      {"ch5.comp.ratio", 0x8000 | 40, "8:1", 0x8000 | 80},  // the compressor stays off
      {"ch6.comp.ratio", 40, "off", 0x8000 | 40},       // the ratio stays
      {"ch7.send.aux1", 0x8000 | 1140, "-10dB", 0x8000 | 1100},  // the send stays pre-fader
      {"ch8.send.aux2", 1140, "pre", 0x8000 | 1140},    // the level stays
  };
  std::vector<std::string> command{"set"};
  for (const auto& c : cases) {
    ASSERT_EQ(console_.Ask("set " + std::to_string(*FindParam(c.name)) + " " + std::to_string(c.held)), "ok");
    command.push_back(c.name + "=" + c.typed);
  }
  const CtlRun set = Net(command);
  EXPECT_EQ(set.exitCode, 0) << set.err;
  for (const auto& c : cases) {
    const ParamAddress address = *FindParam(c.name);
    EXPECT_EQ(ConsoleValue(address), std::to_string(address) + " " + std::to_string(c.written)) << c.name;
  }
  EXPECT_EQ(ConsoleValue(*FindParam("ch4.pfl.linked")), std::to_string(*FindParam("ch4.pfl.linked")) + " 0")
      << "the companion gets the word written";
}

TEST_F(Rmt4ctlProgramTest, ABitNameChangesOnlyItsBitOfTheWordTheConsoleHolds) {
  ASSERT_TRUE(console_.ready());
  const struct {
    std::string name;
    std::string word;
    int held;
    std::string typed;
    int written;
    std::string reads;
  } cases[] = {
      {"ch1.48v", "ch1.mute", 8, "on", 9, "ON"},    // the channel stays on
      {"ch2.48v", "ch2.mute", 5, "off", 4, "OFF"},  // the mute stays
      {"ch3.mute", "ch3.mute", 4, "off", 13, ""},  // one command with its 48V: one write of both
      {"ch3.48v", "ch3.mute", 4, "on", 13, "ON"},
      {"ch4.send.aux3.pre", "ch4.send.aux3", 1140, "pre", 0x8000 | 1140, "pre"},  // the level stays
      {"ch5.comp", "ch5.comp.ratio", 0x8000 | 40, "on", 40, "on"},                // the ratio stays
      {"sys.pfl.fx1", "sys.pfl", 0x0001, "on", 0x0101, "ON"},                   // AUX1 stays in PFL
  };
  std::vector<std::string> set{"set"};
  std::vector<std::string> get{"get"};
  std::string expected;
  for (const auto& c : cases) {
    ASSERT_EQ(console_.Ask("set " + std::to_string(*FindParam(c.word)) + " " + std::to_string(c.held)), "ok");
    set.push_back(c.name + "=" + c.typed);
    if (c.reads.empty()) continue;
    get.push_back(c.name);
    expected += c.name + ": " + c.reads + "\n";
  }
  const CtlRun run = Net(set);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const auto& c : cases) {
    const ParamAddress address = *FindParam(c.word);
    EXPECT_EQ(ConsoleValue(address), std::to_string(address) + " " + std::to_string(c.written)) << c.name;
  }
  EXPECT_EQ(Net(get).out, expected);
  const CtlRun names = Ctl({"names", "ch1.48v"});
  EXPECT_EQ(names.out, "ch1.48v                  46  strip    ON|OFF (mask 0x0001)\n");
}

TEST_F(Rmt4ctlProgramTest, RefusedNamesAndValuesSendNothing) {
  ASSERT_TRUE(console_.ready());
  const std::filesystem::path trace = home_ / "trace.txt";
  const std::vector<std::vector<std::string>> commands{
      {"set", "ch1.fader=-6dB", "ch1.eq1.gain=30dB"}, {"set", "ch1.fader=-6dB", "nope=1"}, {"get", "ch1.nothing"},
      {"--raw", "set", "ch1.fader=-6dB"},             {"watch", "5", "ch1.nothing"},
      {"fx", "store", "1", "16"},                     {"fx", "recall", "2", "37"},
      {"set", "--fade", "1", "ch1.mute=on"},          {"set", "--fade", "0", "ch1.fader=-6dB"}};
  for (std::vector<std::string> command : commands) {
    command.insert(command.begin(), {"--trace", trace.string()});
    const CtlRun run = Net(command);
    EXPECT_EQ(run.exitCode, 2) << command.back() << run.err;
    EXPECT_NE(run.err.find("rmt4ctl: "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(trace)) << "connected for " << command.back();
  }
  EXPECT_NE(Net({"fx", "store", "1", "16"}).err.find("System mode cannot be saved! (fx store takes the user programs 17..36)"),
            std::string::npos);
  EXPECT_NE(Net({"fx", "recall", "1", "0"}).err.find("effect program number 1..36"), std::string::npos);
  EXPECT_EQ(ConsoleValue(50), "50 0");
}

TEST_F(Rmt4ctlProgramTest, AFadeReachesItsTargetUnlessTheConsoleMovesTheFader) {
  ASSERT_TRUE(console_.ready());
  const CtlRun fade = Net({"set", "--fade", "0.5", "ch3.fader=-10", "ch4.fader=-inf"});
  EXPECT_EQ(fade.exitCode, 0) << fade.err;
  EXPECT_EQ(ConsoleValue(*FindParam("ch3.fader")), std::to_string(*FindParam("ch3.fader")) + " 1100");
  EXPECT_EQ(ConsoleValue(*FindParam("ch4.fader")), std::to_string(*FindParam("ch4.fader")) + " 0");

  // A long fade up; once it has begun, the operator pulls the fader on the console.
  const std::string fader = std::to_string(*FindParam("ch5.fader"));
  ASSERT_EQ(console_.Ask("set " + fader + " 0"), "ok");
  auto stopped = std::async(std::launch::async, [&] { return Net({"set", "--fade", "20", "ch5.fader=0dB"}); });
  EXPECT_TRUE(Eventually([&] { return ConsoleValue(*FindParam("ch5.fader")) != fader + " 0"; }, 15s));
  ASSERT_EQ(console_.Ask("set " + fader + " 321"), "ok");
  const CtlRun run = stopped.get();
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("the console moved ch5.fader: fade stopped"), std::string::npos) << run.err;
  EXPECT_EQ(ConsoleValue(*FindParam("ch5.fader")), fader + " 321") << "the operator's move stands";
}

TEST_F(Rmt4ctlProgramTest, SceneDiffNamesWhatChanged) {
  std::array<std::uint16_t, kParamCount> values{};
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = DefaultValue(a);
  SceneFile scene(CurrentAppFolders(), 7);
  const std::string a = (home_ / "a.mxb").string();
  const std::string b = (home_ / "b.mxb").string();
  const std::string c = (home_ / "c.mxb").string();
  ASSERT_EQ(scene.WriteSceneFile(a, values), SceneFileResult::kOk);
  ASSERT_EQ(scene.WriteSceneFile(b, values), SceneFileResult::kOk);
  values[136] = 1140;
  ASSERT_EQ(scene.WriteSceneFile(c, values), SceneFileResult::kOk);

  const CtlRun equal = Ctl({"scene", "diff", a, b});
  EXPECT_EQ(equal.exitCode, 0) << equal.err;
  EXPECT_EQ(equal.out, "");
  const CtlRun changed = Ctl({"scene", "diff", a, c});
  EXPECT_EQ(changed.exitCode, 1) << changed.err;
  EXPECT_EQ(changed.out, "ch3.fader: -inf \u2192 -6.0 dB\n");

  std::ofstream(home_ / "bad.mxb") << "not a scene";
  EXPECT_EQ(Ctl({"scene", "diff", a, (home_ / "bad.mxb").string()}).exitCode, 4);
  EXPECT_EQ(Ctl({"scene", "diff", (home_ / "none.mxb").string(), a}).exitCode, 4);

  // Against the console: the file is the old side.
  ASSERT_TRUE(console_.ready());
  ASSERT_EQ(console_.Ask("set 136 1200"), "ok");
  const CtlRun live = Net({"scene", "diff", c});
  EXPECT_EQ(live.exitCode, 1) << live.err;
  EXPECT_EQ(live.out, "ch3.fader: -6.0 dB \u2192 0.0 dB\n");
}

TEST_F(Rmt4ctlProgramTest, GetAndSetOfOneValueReadOnlyWhatTheyName) {
  ASSERT_TRUE(console_.ready());
  ASSERT_EQ(console_.Ask("set 136 321"), "ok");
  // The complete read (and its pauses) would take seconds: it asks in some 70 batches.
  for (const auto& [command, output] : {std::pair<std::string, std::string>{"get", "136 321\n"}, {"set", ""}}) {
    const std::filesystem::path trace = home_ / (command + ".trace");
    const CtlRun run = Net({"--trace", trace.string(), command, command == "get" ? "136" : "136=654"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, output);
    std::ifstream in(trace);
    int reads = 0;
    for (std::string line; std::getline(in, line);) reads += line.find(" out ReadParams ") != std::string::npos;
    EXPECT_LE(reads, 8) << command << " asked in " << reads << " batches";
  }
  EXPECT_EQ(ConsoleValue(136), "136 654") << "written and confirmed before the program ended";
}

class Rmt4ctlUnansweredAddressTest : public Rmt4ctlProgramTest {
 protected:
  Rmt4ctlUnansweredAddressTest() : Rmt4ctlProgramTest({"--unanswered-address", "136"}) {}
};

TEST_F(Rmt4ctlUnansweredAddressTest, GetOfAValueTheConsoleNeverSendsFailsInsteadOfPrintingAGuess) {
  ASSERT_TRUE(console_.ready());
  const CtlRun run = Ctl({"--net", FormatIpv4(console_.address()), "--timeout", "2", "get", "137", "136"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("address 136: the console did not answer"), std::string::npos) << run.err;
}

class Rmt4ctlOnABadLineTest : public Rmt4ctlProgramTest {
 protected:
  // Replies in random small pieces, some corrupted, some dropped.
  Rmt4ctlOnABadLineTest()
      : Rmt4ctlProgramTest({"--pieces", "9", "--corrupt-prob", "0.03", "--drop-prob", "0.03", "--seed", "5"}) {}
};

TEST_F(Rmt4ctlOnABadLineTest, CorruptedAndSplitRepliesStillConverge) {
  ASSERT_TRUE(console_.ready());
  ASSERT_EQ(console_.Ask("set 600 4321"), "ok");
  const CtlRun dump = Net({"dump"});
  EXPECT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(CountLines(dump.out), 1574);
  EXPECT_NE(dump.out.find("\n600 4321\n"), std::string::npos);

  const CtlRun set = Net({"set", "601=77"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(ConsoleValue(601), "601 77");
}

TEST_F(Rmt4ctlProgramTest, ClearFailures) {
  const CtlRun usage = Ctl({"get", "99999"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("0..1573"), std::string::npos);

  const CtlRun missing = Ctl({"scene", "show", (home_ / "none.mxb").string()});
  EXPECT_EQ(missing.exitCode, 4);

  // Nobody answers on this address: said once the time-out given has passed, long before the default 10 s.
  const auto start = std::chrono::steady_clock::now();
  const CtlRun nobody = Ctl({"--net", "127.0.0.254", "--timeout", "1", "get", "136"});
  EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
  EXPECT_EQ(nobody.exitCode, 3);
  EXPECT_NE(nobody.err.find("no console answered"), std::string::npos) << nobody.err;
}

TEST_F(Rmt4ctlProgramTest, HistoryPrintsTodaysLogFilteredWithoutAConsole) {
  const auto todayAt = [](int hour, int minute) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local)) * 1000;
  };
  const ParamAddress fader = *FindParam("ch3.fader");
  {
    ChangeLogOptions options;
    options.folder = home_ / ".local/state/rmt4";
    ChangeLog log(std::move(options));
    log.Record({todayAt(9, 0), ChangeSource::kPc, 4, {{fader, *ParseValue(fader, "-10dB").raw, *ParseValue(fader, "-6dB").raw}}});
    log.Record({todayAt(21, 13), ChangeSource::kConsole, 0, {{*FindParam("aux2.mute"), 1, 0}}});
    log.Record({todayAt(21, 14), ChangeSource::kUndo, 4, {{fader, *ParseValue(fader, "-6dB").raw, *ParseValue(fader, "-10dB").raw}}});
  }
  const CtlRun all = Ctl({"history"});
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(all.out,
            "09:00:00.000\tpc\t4\tch3.fader\t-10.0 dB\t\u2192\t-6.0 dB\n"
            "21:13:00.000\tconsole\t-\taux2.mute\tOFF\t\u2192\tON\n"
            "21:14:00.000\tundo\t4\tch3.fader\t-6.0 dB\t\u2192\t-10.0 dB\n");
  const CtlRun filtered = Ctl({"history", "--since", "21:00", "CH3.*"});
  EXPECT_EQ(filtered.exitCode, 0) << filtered.err;
  EXPECT_EQ(filtered.out, "21:14:00.000\tundo\t4\tch3.fader\t-6.0 dB\t\u2192\t-10.0 dB\n");

  for (const std::vector<std::string>& refused :
       {std::vector<std::string>{"history", "--since", "21.00"}, {"history", "--since"}, {"history", "nothing.here"}}) {
    const CtlRun run = Ctl(refused);
    EXPECT_EQ(run.exitCode, 2) << refused.back();
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_NE(Ctl({"history", "--since", "24:00"}).err.find("HH:MM"), std::string::npos);
}

TEST_F(Rmt4ctlProgramTest, AConsoleHeldByAnotherPcIsReportedBusyWithThatPc) {
  ASSERT_TRUE(console_.ready());
  // The other PC (the window, say) holds the console's one TCP connection.
  const UniqueFd holder(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_in to = SocketAddress(console_.address(), static_cast<std::uint16_t>(console_.tcpPort()));
  ASSERT_EQ(::connect(holder.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
  ASSERT_TRUE(Eventually([&] { return console_.Ask("peer") == std::optional<std::string>("peer 127.0.0.1"); }));

  const CtlRun run = Ctl({"--net", FormatIpv4(console_.address()), "--timeout", "7", "get", "136"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("The console is busy with another PC (127.0.0.1)"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace rmt4::test
