#include "platform/app_folders.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(AppFolders, SceneFolderBesideTheExecutableAndXdgDataFolder) {
  const AppFolders folders = ComputeAppFolders("/opt/rmt4/bin/rmt4", "/data/xdg", "/home/u");
  EXPECT_EQ(folders.sceneDirectory, "/opt/rmt4/bin/FileData/");
  EXPECT_EQ(folders.fallbackDirectory, "/data/xdg/rmt4/");
  EXPECT_EQ(ComputeAppFolders("/x/y", "/data/xdg/", nullptr).fallbackDirectory, "/data/xdg/rmt4/");
}

TEST(AppFolders, FallbackUsesHomeWhenXdgIsUnsetEmptyOrRelative) {
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/path"}) {
    EXPECT_EQ(ComputeAppFolders("/bin/rmt4", xdg, "/home/u").fallbackDirectory,
              "/home/u/.local/share/rmt4/");
  }
  EXPECT_EQ(ComputeAppFolders("/bin/rmt4", nullptr, "/home/u/").fallbackDirectory,
            "/home/u/.local/share/rmt4/");
}

TEST(AppFolders, UnknownPlacesStayEmpty) {
  const AppFolders folders = ComputeAppFolders("", nullptr, "");
  EXPECT_TRUE(folders.sceneDirectory.empty());
  EXPECT_TRUE(folders.fallbackDirectory.empty());
  EXPECT_TRUE(JoinFolder(folders.sceneDirectory, "a.mxb").empty());  // never the current folder
  EXPECT_TRUE(JoinFolder("/x/", "/abs.mxb").empty());
  EXPECT_EQ(JoinFolder("/x", "a.mxb"), "/x/a.mxb");
}

TEST(AppFolders, RealFoldersComeFromThisProcess) {
  const std::filesystem::path executable = ExecutablePath();
  ASSERT_FALSE(executable.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(executable));
  EXPECT_EQ(executable.filename(), "rmt4core_tests");
  EXPECT_EQ(CurrentAppFolders().sceneDirectory, executable.parent_path() / "FileData/");
}

}  // namespace
}  // namespace rmt4
