// Whether a run serves OSC: the stored setting, the command line over it, offline.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "files/osc_settings.h"
#include "i18n/language_guard.h"
#include "ui/main/osc_startup.h"
#include "values/label_format.h"

namespace rmt4::ui {
namespace {

AppFolders FoldersIn(const QTemporaryDir& folder) {
  AppFolders folders;
  folders.fallbackDirectory = folder.path().toStdString() + "/";
  return folders;
}

TEST(OscStartupTest, CommandLineWinsOverTheStoredSettingAndOfflineServesOnlyWhenAsked) {
  const LanguageGuard language;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  const struct {
    std::vector<const char*> arguments;
    StoredOscSettings stored;
    bool on;
    OscServerOptions options;
    std::string storedProblem;
  } cases[] = {
      {{}, {true, "9001", "127.0.0.1", ""}, true, {9001, "127.0.0.1", {}}, ""},
      {{"--offline"}, {true, "9001", "127.0.0.1", ""}, false, {}, ""},
      {{"--offline", "--osc", "9002"}, {}, true, {9002, "127.0.0.1", {}}, ""},
      {{"--osc-bind", "10.0.0.5", "--osc-allow", "10.0.0.0/8", "--osc-allow", "10.1.2.3"},
       {true, "9000", "127.0.0.1", "192.168.0.0/16"}, true, {9000, "10.0.0.5", {"10.0.0.0/8", "10.1.2.3"}}, ""},
      {{}, {true, "x", "127.0.0.1", ""}, false, {}, "The OSC port must be a whole number from 1 to 65535, not \"x\""},
  };
  for (const auto& c : cases) {
    const QTemporaryDir folder;
    const SettingsStore store(FoldersIn(folder));
    ASSERT_TRUE(WriteOscSettings(store, c.stored));
    std::string problem;
    const std::optional<OscStartup> startup = ChooseOscStartup(ParseProgramOptions(c.arguments), store, problem);
    const std::string name = c.arguments.empty() ? "stored " + c.stored.port : c.arguments.back();
    ASSERT_TRUE(startup) << name << ": " << problem;
    EXPECT_EQ(startup->on, c.on) << name;
    if (c.on) {
      EXPECT_EQ(startup->options.port, c.options.port) << name;
      EXPECT_EQ(startup->options.bindAddress, c.options.bindAddress) << name;
      EXPECT_EQ(startup->options.allow, c.options.allow) << name;
    }
    EXPECT_EQ(startup->storedProblem.value_or(""), c.storedProblem) << name;
  }
}

TEST(OscStartupTest, RefusedCommandLineTextsSayWhichInTheUsersLanguage) {
  const LanguageGuard language;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  const QTemporaryDir folder;
  const SettingsStore store(FoldersIn(folder));
  const struct {
    std::vector<const char*> arguments;
    LabelId said;
    std::string_view refused;
  } cases[] = {{{"--osc", "0"}, LabelId::OscPortInvalidFormat, "0"},
               {{"--osc"}, LabelId::OscPortInvalidFormat, ""},
               {{"--osc", "9000", "--osc-bind", "127.1"}, LabelId::OscBindAddressInvalidFormat, "127.1"},
               {{"--osc", "9000", "--osc-allow", "10.0.0.0/"}, LabelId::OscAllowInvalidFormat, "10.0.0.0/"}};
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(ChooseOscStartup(ParseProgramOptions(c.arguments), store, problem)) << c.refused;
    EXPECT_EQ(problem, FormatLabel(c.said, c.refused));
  }
}

}  // namespace
}  // namespace rmt4::ui
