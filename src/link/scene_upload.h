#pragma once

// Planning a scene upload: the scene file's values against the mirror, what
// changes and what is written, within the scope, never a safe.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "i18n/label_id.h"
#include "platform/app_folders.h"
#include "protocol/param_table.h"
#include "values/scene_scope.h"

namespace rmt4 {

/// Why the scene file at `path` cannot go to a console of `deviceType`
/// (unreadable, password-protected, made for another console); none when it can.
[[nodiscard]] std::optional<LabelId> SceneUploadRefusal(const AppFolders& folders, const std::string& path,
                                                        std::uint16_t deviceType);

/// The mirror's words.
[[nodiscard]] std::array<std::uint16_t, kParamCount> MirrorWords(const ParamTable& mirror);

/// The changes the scene file at `path` (a path, or a name in `folders`)
/// makes to the console the mirror holds; none when the file cannot be read
/// (the upload job itself refuses it with its message).
[[nodiscard]] std::optional<ScenePlan> PlanSceneFileUpload(const AppFolders& folders, const std::string& path,
                                                           const ParamTable& mirror, const SceneScope& scope,
                                                           std::span<const std::string> safes);

}  // namespace rmt4
