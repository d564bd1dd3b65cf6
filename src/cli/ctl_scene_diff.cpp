#include "cli/ctl_scene_diff.h"

#include <cstdio>
#include <iostream>

#include "cli/ctl_options.h"
#include "files/scene_file.h"
#include "platform/app_folders.h"
#include "values/scene_changes.h"

namespace rmt4::ctl {

std::vector<std::string> SceneDiffLines(std::span<const std::uint16_t, kParamCount> before,
                                        std::span<const std::uint16_t, kParamCount> after) {
  std::vector<std::string> lines;
  for (const SceneChange& change : SceneChanges(before, after)) lines.push_back(SceneChangeLine(change));
  return lines;
}

std::optional<SceneValues> ReadSceneValues(const std::string& path) {
  SceneFile scene(CurrentAppFolders());
  const SceneFileResult result = scene.LoadSceneFile(path);
  if (result != SceneFileResult::kOk || scene.values.size() != kParamCount) {
    std::cerr << "rmt4ctl: " << path << ": cannot read the scene file (result " << static_cast<int>(result) << ")"
              << std::endl;
    return std::nullopt;
  }
  return scene.values;
}

int PrintSceneDiff(std::span<const std::uint16_t, kParamCount> before,
                   std::span<const std::uint16_t, kParamCount> after) {
  const std::vector<std::string> lines = SceneDiffLines(before, after);
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return lines.empty() ? kExitOk : kExitFailed;
}

bool IsSceneFilesDiff(const std::vector<std::string>& command) {
  return command.size() == 4 && command[0] == "scene" && command[1] == "diff";
}

bool IsSceneConsoleDiff(const std::vector<std::string>& command) {
  return command.size() == 3 && command[0] == "scene" && command[1] == "diff";
}

int RunSceneFilesDiff(const std::vector<std::string>& command) {
  const auto before = ReadSceneValues(command[2]);
  const auto after = ReadSceneValues(command[3]);
  if (!before || !after) return kExitFileError;
  return PrintSceneDiff(std::span<const std::uint16_t, kParamCount>(before->data(), kParamCount),
                        std::span<const std::uint16_t, kParamCount>(after->data(), kParamCount));
}

}  // namespace rmt4::ctl
