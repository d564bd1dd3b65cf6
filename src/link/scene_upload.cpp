#include "link/scene_upload.h"

#include "files/scene_file.h"

namespace rmt4 {

std::optional<LabelId> SceneUploadRefusal(const AppFolders& folders, const std::string& path,
                                          std::uint16_t deviceType) {
  SceneFile scene(folders);
  if (scene.LoadSceneFile(path) != SceneFileResult::kOk) return LabelId::NoFilesFullWidthStop;
  if (scene.header.lockFlag != 0) return LabelId::DataHasPassword;
  if (scene.header.fileDeviceType != deviceType) return LabelId::WrongFileVersion;
  return std::nullopt;
}

std::array<std::uint16_t, kParamCount> MirrorWords(const ParamTable& mirror) {
  std::array<std::uint16_t, kParamCount> words{};
  for (ParamAddress a = 0; a < kParamCount; ++a) words[a] = mirror.Value(a);
  return words;
}

std::optional<ScenePlan> PlanSceneFileUpload(const AppFolders& folders, const std::string& path,
                                             const ParamTable& mirror, const SceneScope& scope,
                                             std::span<const std::string> safes) {
  SceneFile scene(folders);
  if (scene.LoadSceneFile(path) != SceneFileResult::kOk) return std::nullopt;
  return PlanSceneUpload(MirrorWords(mirror), scene.values, scope, safes);
}

}  // namespace rmt4
