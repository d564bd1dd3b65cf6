#include "files/settings_store.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"

namespace rmt4 {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path Primary(const std::string& file) const {
    return folders_.settingsDirectory() / (file + ".ini");
  }
  std::filesystem::path Legacy(const std::string& file) const {
    return folders_.legacyDirectory / (file + ".ini");
  }

  TempFolder root_;
  AppFolders folders_{root_.path() / "data/rmt4/scenes/", root_.path() / "data/rmt4/", root_.path() / "bin/FileData/"};
  SettingsStore store_{folders_};
};

TEST_F(SettingsStoreTest, FirstStartHasNoSettings) {
  EXPECT_EQ(store_.ReadSettingInt("Language", "Language"), -1);
  EXPECT_EQ(ReadConnectionKindSetting(store_), 1);        // USB
  EXPECT_EQ(ReadSerialSpeedSetting(store_), 128000);
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "data"));  // reading creates nothing
}

TEST_F(SettingsStoreTest, WritesIntoTheDataFolderUnderTheSharedSection) {
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_MdoeIO", 2));
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_m_BoTeLV", 9600));
  ASSERT_TRUE(store_.WriteSettingInt("Language", "Language", 0));
  EXPECT_EQ(ReadWholeFile(Primary("Configuration")),
            "[rmt4]\nm_COM_MdoeIO=2\nm_COM_m_BoTeLV=9600\n");
  EXPECT_EQ(ReadWholeFile(Primary("Language")), "[rmt4]\nLanguage=0\n");
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "bin"));  // nothing beside the executable

  // Another program of the project (own store object, same folders) sees them.
  const SettingsStore other(folders_);
  EXPECT_EQ(other.ReadSettingInt("Language", "Language"), 0);
  EXPECT_EQ(ReadConnectionKindSetting(other), 2);
  EXPECT_EQ(ReadSerialSpeedSetting(other), 9600);
}

TEST_F(SettingsStoreTest, KeepsTheRestOfAHandEditedFile) {
  std::filesystem::create_directories(folders_.settingsDirectory());
  WriteWholeFile(Primary("Configuration"), "; my console\r\n[rmt4]\r\nm_COM_MdoeIO=0\r\n[x]\r\ny=1");
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_MdoeIO", 3));
  EXPECT_EQ(ReadWholeFile(Primary("Configuration")),
            "; my console\r\n[rmt4]\r\nm_COM_MdoeIO=3\r\n[x]\r\ny=1");
}

TEST_F(SettingsStoreTest, AnUnwritableDataFolderIsReportedAndNothingGoesBesideTheExecutable) {
  // A regular file where the data folder should be: it cannot be created,
  // whatever the user's rights (tests may run as root).
  WriteWholeFile(root_.path() / "data", "not a folder");
  EXPECT_FALSE(store_.WriteSettingInt("Language", "Language", 1));
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "bin"));
  const SettingsStore unknown(AppFolders{});
  EXPECT_FALSE(unknown.WriteSettingInt("Language", "Language", 1));
  EXPECT_EQ(unknown.ReadSettingInt("Language", "Language"), -1);
}

TEST_F(SettingsStoreTest, AnOlderBuildsCopyBesideTheExecutableIsReadWhenTheDataFolderHasNoUsableValue) {
  std::filesystem::create_directories(folders_.settingsDirectory());
  std::filesystem::create_directories(folders_.legacyDirectory);
  WriteWholeFile(Legacy("Configuration"), "[rmt4]\nm_COM_MdoeIO=2\nm_COM_m_BoTeLV=57600\n");

  const std::string primaries[] = {
      "[rmt4]\nother=1\n",                        // key missing
      "[elsewhere]\nm_COM_MdoeIO=0\n",            // section missing
      "[rmt4]\nm_COM_MdoeIO=-4\n",                // negative counts as missing
      "[rmt4]\nm_COM_MdoeIO=usb\n",               // not a number
      "[rmt4]\nm_COM_MdoeIO=\n",                  // empty
      "[rmt4]\nm_COM_MdoeIO=1\n" + std::string(70000, ';'),  // too large to read
  };
  for (const std::string& primary : primaries) {
    WriteWholeFile(Primary("Configuration"), primary);
    EXPECT_EQ(store_.ReadSettingInt("Configuration", "m_COM_MdoeIO"), 2) << primary.substr(0, 40);
  }

  WriteWholeFile(Primary("Configuration"), "[rmt4]\nm_COM_MdoeIO=0\n");
  EXPECT_EQ(store_.ReadSettingInt("Configuration", "m_COM_MdoeIO"), 0);  // primary wins
  EXPECT_EQ(store_.ReadSettingInt("Configuration", "m_COM_m_BoTeLV"), 57600);
}

TEST_F(SettingsStoreTest, TransportDefaultsApplyToUnusableValues) {
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_m_BoTeLV", 0));
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_MdoeIO", -1));
  EXPECT_EQ(ReadSerialSpeedSetting(store_), 128000);
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_m_BoTeLV", -9600));
  EXPECT_EQ(ReadSerialSpeedSetting(store_), 128000) << "a negative speed is no speed";
  EXPECT_EQ(ReadConnectionKindSetting(store_), 1);
  ASSERT_TRUE(store_.WriteSettingInt("Configuration", "m_COM_MdoeIO", 0));
  EXPECT_EQ(ReadConnectionKindSetting(store_), 0);  // 0 (serial) is a real choice
}

TEST_F(SettingsStoreTest, OversizedFileIsLeftAloneAndTheWriteReportsFailure) {
  std::filesystem::create_directories(folders_.settingsDirectory());
  const std::string big = "[rmt4]\nLanguage=0\n" + std::string(70000, ';');
  WriteWholeFile(Primary("Language"), big);
  EXPECT_FALSE(store_.WriteSettingInt("Language", "Language", 2));
  EXPECT_EQ(ReadWholeFile(Primary("Language")), big);
}

TEST_F(SettingsStoreTest, FileNamesCannotLeaveTheFolders) {
  EXPECT_FALSE(store_.WriteSetting("../Language", "Language", "1"));
  EXPECT_FALSE(store_.WriteSetting("", "Language", "1"));
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "bin/Language.ini"));
  EXPECT_EQ(store_.ReadSettingInt("../Language", "Language"), -1);
}

}  // namespace
}  // namespace rmt4
