#include "files/scene_scope_settings.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace rmt4 {
namespace {

// Any file name keeps its own groups: none may break the settings file or reach another's entry.
TEST(SceneScopeSettings, EveryFileNameKeepsItsOwnGroups) {
  const testing::TempFolder root;
  const SettingsStore store(AppFolders{root.path() / "scenes/", root.path() / "data/", root.path() / "legacy/"});
  const std::string names[] = {"show.mxb", "a=b.mxb", "[rmt4]", "line\nbreak.mxb", "x ; y # z", "\xff\xfe.mxb",
                               std::string(255, 'n')};
  const auto groups = [](std::size_t i) { return std::vector<std::string>{"ch" + std::to_string(i) + ".eq", "main.strip"}; };
  for (std::size_t i = 0; i < std::size(names); ++i) ASSERT_TRUE(WriteLeftOutGroups(store, names[i], groups(i))) << i;
  for (std::size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(ReadLeftOutGroups(store, names[i]), groups(i)) << i;
  EXPECT_TRUE(ReadLeftOutGroups(store, "other.mxb").empty());
  ASSERT_TRUE(WriteLeftOutGroups(store, "show.mxb", {}));
  EXPECT_TRUE(ReadLeftOutGroups(store, "show.mxb").empty()) << "all ticked again";
}

}  // namespace
}  // namespace rmt4
