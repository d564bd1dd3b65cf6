#include "files/scene_name.h"

#include <gtest/gtest.h>

#include <string>

namespace rmt4 {
namespace {

TEST(SceneName, OnlyAPlainFileNamePasses) {
  const struct {
    std::string name;
    SceneNameFault fault;
  } cases[] = {
      {"Live set", SceneNameFault::kNone},
      {"show.mxb", SceneNameFault::kNone},
      {"演出 1", SceneNameFault::kNone},
      {"a.b", SceneNameFault::kNone},
      {"", SceneNameFault::kNone},
      {"../escape", SceneNameFault::kFolderPart},
      {"/etc/passwd", SceneNameFault::kFolderPart},
      {"sub/name", SceneNameFault::kFolderPart},
      {"..\\windows", SceneNameFault::kFolderPart},
      {"..", SceneNameFault::kDots},
      {".hidden", SceneNameFault::kDots},
      {"name..mxb", SceneNameFault::kDots},
      {"tab\there", SceneNameFault::kControlCharacter},
      {std::string("nul\0x", 5), SceneNameFault::kControlCharacter},
      {"del\x7F", SceneNameFault::kControlCharacter},
      {std::string(251, 'a'), SceneNameFault::kNone},  // 255 bytes with ".mxb"
      {std::string(252, 'a'), SceneNameFault::kTooLong},
      {std::string(251, 'a') + ".mxb", SceneNameFault::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSceneName(c.name), c.fault) << c.name;
}

}  // namespace
}  // namespace rmt4
