#pragma once

// The scene list of the System window: the scene files of the current folder
// and of the program's two folders.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_folders.h"

namespace rmt4 {

/// One row of the scene list of the System window.
struct SceneListEntry {
  int number = 0;                     // 1, 2, ... in list order
  std::string name;                   // title + extension; empty for the last row
  std::filesystem::path directory;    // folder the file was found in; empty for the last row
};

/// The scene list: every regular file whose name ends with `extension` in
/// `currentFolder`, then in `folders.sceneDirectory`, `folders.fallbackDirectory`
/// and `folders.legacyDirectory` (names sorted within each folder, duplicates
/// kept; a missing folder lists nothing), then one numbered row with an empty name.
[[nodiscard]] std::vector<SceneListEntry> ListSceneFiles(const std::filesystem::path& currentFolder,
                                                         const AppFolders& folders,
                                                         std::string_view extension = ".mxb");

}  // namespace rmt4
