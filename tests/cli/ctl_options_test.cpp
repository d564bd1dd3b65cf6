#include <gtest/gtest.h>

#include "cli/ctl_commands.h"
#include "cli/ctl_options.h"

namespace rmt4::ctl {
namespace {

TEST(CtlOptions, TransportsTargetsAndFlags) {
  const auto net = ParseOptions({"--net", "127.0.0.2", "--timeout", "2.5", "--yes", "status"});
  ASSERT_TRUE(net.options);
  EXPECT_EQ(net.options->connectionKind, kNetwork);
  EXPECT_EQ(net.options->target, "127.0.0.2");
  EXPECT_DOUBLE_EQ(net.options->timeoutSeconds, 2.5);
  EXPECT_TRUE(net.options->answerYes);
  EXPECT_EQ(net.options->command, std::vector<std::string>{"status"});

  const auto serial = ParseOptions({"--serial", "/dev/ttyUSB0", "dump"});
  ASSERT_TRUE(serial.options);
  EXPECT_NE(serial.options->connectionKind, kNetwork);
  EXPECT_EQ(serial.options->target, "/dev/ttyUSB0");

  // Without a value the next word is the command, not a target.
  const auto bare = ParseOptions({"--net", "status"});
  ASSERT_TRUE(bare.options);
  EXPECT_TRUE(bare.options->target.empty());
  EXPECT_EQ(bare.options->command, std::vector<std::string>{"status"});

  const auto stored = ParseOptions({"get", "1"});
  ASSERT_TRUE(stored.options);
  EXPECT_FALSE(stored.options->connectionKind) << "the stored transport decides";
  EXPECT_FALSE(stored.options->tracePath);
  EXPECT_FALSE(stored.options->raw);
  EXPECT_TRUE(ParseOptions({"--raw", "get", "ch1.fader"}).options->raw);

  const auto scoped = ParseOptions(
      {"scene", "upload", "--only", "ch[1-4].eq*", "show.mxb", "--except", "ch2.*", "--only", "aux2.*", "--dry-run"});
  ASSERT_TRUE(scoped.options);
  EXPECT_EQ(scoped.options->command, (std::vector<std::string>{"scene", "upload", "show.mxb"}));
  EXPECT_EQ(scoped.options->scope.only, (std::vector<std::string>{"ch[1-4].eq*", "aux2.*"}));
  EXPECT_EQ(scoped.options->scope.except, std::vector<std::string>{"ch2.*"});
  EXPECT_TRUE(scoped.options->dryRun);

  const auto traced = ParseOptions({"--trace", "wire.txt", "status"});
  ASSERT_TRUE(traced.options);
  EXPECT_EQ(traced.options->tracePath, "wire.txt");
  EXPECT_EQ(traced.options->command, std::vector<std::string>{"status"});
}

TEST(CtlOptions, HelpAndBadCommandLines) {
  const auto help = ParseOptions({"--help"});
  EXPECT_FALSE(help.options);
  EXPECT_EQ(help.exitCode, kExitOk);
  EXPECT_NE(help.message.find("Exit codes"), std::string::npos);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {}, {"--timeout"}, {"--timeout", "0", "status"}, {"--timeout", "soon", "status"}, {"--frobnicate", "status"},
           {"--trace"}, {"--trace", "", "status"}, {"scene", "upload", "a.mxb", "--only"},
           {"scene", "upload", "a.mxb", "--only", "ch9.*"}, {"scene", "upload", "a.mxb", "--except", "ch1.nothing"},
           {"scene", "upload", "a.mxb", "--dry"}}) {
    const auto parsed = ParseOptions(bad);
    EXPECT_FALSE(parsed.options);
    EXPECT_EQ(parsed.exitCode, kExitUsage);
  }
}

TEST(CtlCommands, ValidationCatchesMistakesBeforeConnecting) {
  for (const std::vector<std::string>& good : std::vector<std::vector<std::string>>{
           {"status"}, {"get", "0", "1573", "0x10"}, {"set", "136=1200", "970=0x3A5"}, {"watch"}, {"watch", "5"},
           {"mode", "recall", "12"}, {"mode", "rename", "3", "Evening show"}, {"fx", "store", "2", "20"},
           {"scene", "save", "a.mxb"}, {"scene", "diff", "a.mxb"}, {"scene", "diff", "a.mxb", "b.mxb"}, {"names"},
           {"names", "ch1.*"}, {"safe", "list"}, {"safe", "add", "ch[!1-4].48v"}, {"safe", "remove", "gone.*"}, {"netconf", "set", "10.0.0.2", "255.0.0.0", "10.0.0.1", "00-11-22-33-44-55"}}) {
    EXPECT_EQ(ValidateCommand(good), "") << good[0];
  }
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"get"}, {"get", "1574"}, {"set", "136"}, {"set", "136=65536"}, {"set", "-1=3"}, {"mode", "recall", "13"},
           {"mode", "recall", "0"}, {"mode", "rename", "3", "trailing "}, {"mode", "rename", "3", "much too long for a mode name"},
           {"fx", "recall", "3", "1"}, {"netconf", "set", "10.0.0.256", "255.0.0.0", "10.0.0.1", "AB"}, {"status", "now"},
           {"launch"}, {"scene", "diff"}, {"names", "a", "b"}, {"safe"}, {"safe", "list", "ch1.*"}, {"safe", "add"},
           {"safe", "add", "ch1.nothing"}}) {
    EXPECT_NE(ValidateCommand(bad), "") << bad[0];
  }
}

}  // namespace
}  // namespace rmt4::ctl
