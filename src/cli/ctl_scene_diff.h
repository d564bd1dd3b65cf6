#pragma once

// `scene diff`: what differs between two scene files, or between a scene
// file and the console, one line per parameter in names and units.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4::ctl {

using SceneValues = std::vector<std::uint16_t>;

/// "name: old → new" for every differing setting (see SceneChanges).
[[nodiscard]] std::vector<std::string> SceneDiffLines(std::span<const std::uint16_t, kParamCount> before,
                                                      std::span<const std::uint16_t, kParamCount> after);

/// A scene file's values; prints why on standard error and gives none when it cannot be read.
[[nodiscard]] std::optional<SceneValues> ReadSceneValues(const std::string& path);

/// Prints the lines; exit code 0 when equal, 1 when different.
[[nodiscard]] int PrintSceneDiff(std::span<const std::uint16_t, kParamCount> before,
                                 std::span<const std::uint16_t, kParamCount> after);

/// `scene diff A B`, without a console; 4 when a file cannot be read.
[[nodiscard]] bool IsSceneFilesDiff(const std::vector<std::string>& command);
[[nodiscard]] int RunSceneFilesDiff(const std::vector<std::string>& command);
/// `scene diff A`, against the console.
[[nodiscard]] bool IsSceneConsoleDiff(const std::vector<std::string>& command);

}  // namespace rmt4::ctl
