#pragma once

// The groups the scene preview leaves out, remembered per scene file in
// "SceneScopes" so that the next upload of the same file starts as the last
// one ended.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/settings_store.h"

namespace rmt4 {

inline constexpr std::string_view kSceneScopesSettingsFile = "SceneScopes";

/// The settings key of the scene file named `sceneName`: its bytes in hex, so
/// that no file name (with '=', ']', a line break…) can break the file.
[[nodiscard]] std::string SceneScopeKey(std::string_view sceneName);

/// The groups stored for `sceneName` (one word each, as written); none when nothing is stored.
[[nodiscard]] std::vector<std::string> ReadLeftOutGroups(const SettingsStore& store, std::string_view sceneName);
/// False when the list could not be written.
bool WriteLeftOutGroups(const SettingsStore& store, std::string_view sceneName, std::span<const std::string> groups);

}  // namespace rmt4
