#include "platform/app_folders.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(AppFolders, EveryProgramSharesTheDataFolderWhereverItLies) {
  // rmt4 and rmt4ctl run from the build tree lie in different folders.
  const AppFolders window = ComputeAppFolders("/b/src/ui/rmt4", nullptr, "/data/xdg", "/home/u");
  const AppFolders client = ComputeAppFolders("/b/src/cli/rmt4ctl", nullptr, "/data/xdg/", "/home/u");
  EXPECT_EQ(window.settingsDirectory(), "/data/xdg/rmt4/");
  EXPECT_EQ(client.sceneDirectory, window.sceneDirectory);
  EXPECT_EQ(client.settingsDirectory(), window.settingsDirectory());
  // Only what older builds left there is read beside the executable.
  EXPECT_EQ(window.legacyDirectory, "/b/src/ui/FileData/");
}

TEST(AppFolders, DataFolderComesFromTheOverrideThenXdgThenHome) {
  const struct {
    const char *dataDir, *xdg, *home, *expected;
  } cases[] = {
      {"/tmp/t", "/data/xdg", "/home/u", "/tmp/t/"},
      {"relative", "/data/xdg", "/home/u", "/data/xdg/rmt4/"},
      {"", nullptr, "/home/u", "/home/u/.local/share/rmt4/"},
      {nullptr, "", "/home/u/", "/home/u/.local/share/rmt4/"},
      {nullptr, "relative/path", "/home/u", "/home/u/.local/share/rmt4/"},
  };
  for (const auto& c : cases) {
    const AppFolders folders = ComputeAppFolders("/bin/rmt4", c.dataDir, c.xdg, c.home);
    EXPECT_EQ(folders.fallbackDirectory, c.expected) << (c.dataDir ? c.dataDir : "(unset)");
    EXPECT_EQ(folders.sceneDirectory, std::filesystem::path(c.expected) / "scenes/");
  }
}

TEST(AppFolders, StateFolderComesFromTheOverrideThenXdgStateThenHome) {
  const struct {
    const char *dataDir, *xdgState, *home, *expected;
  } cases[] = {
      {"/tmp/t", "/state/xdg", "/home/u", "/tmp/t/state/"},
      {nullptr, "/state/xdg", "/home/u", "/state/xdg/rmt4/"},
      {nullptr, "relative", "/home/u/", "/home/u/.local/state/rmt4/"},
      {nullptr, nullptr, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeAppFolders("/bin/rmt4", c.dataDir, "/data/xdg", c.home, c.xdgState).stateDirectory, c.expected)
        << (c.xdgState ? c.xdgState : "(unset)");
  }
}

TEST(AppFolders, UnknownPlacesStayEmpty) {
  const AppFolders folders = ComputeAppFolders("", nullptr, nullptr, "");
  EXPECT_TRUE(folders.sceneDirectory.empty());
  EXPECT_TRUE(folders.fallbackDirectory.empty());
  EXPECT_TRUE(folders.legacyDirectory.empty());
  EXPECT_TRUE(JoinFolder(folders.sceneDirectory, "a.mxb").empty());  // never the current folder
  EXPECT_TRUE(JoinFolder("/x/", "/abs.mxb").empty());
  EXPECT_EQ(JoinFolder("/x", "a.mxb"), "/x/a.mxb");
}

TEST(AppFolders, RealFoldersComeFromThisProcess) {
  const std::filesystem::path executable = ExecutablePath();
  ASSERT_FALSE(executable.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(executable));
  EXPECT_EQ(executable.filename(), "rmt4core_tests");
  EXPECT_EQ(CurrentAppFolders().legacyDirectory, executable.parent_path() / "FileData/");
}

}  // namespace
}  // namespace rmt4
