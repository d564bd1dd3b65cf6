#include "files/scene_list.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace rmt4 {

std::vector<SceneListEntry> ListSceneFiles(const std::filesystem::path& currentFolder,
                                           const AppFolders& folders,
                                           std::string_view extension) {
  std::vector<SceneListEntry> entries;
  const auto listFolder = [&](const std::filesystem::path& folder) {
    if (folder.empty()) {
      return;
    }
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    std::vector<std::string> names;
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
      const std::string name = it->path().filename().string();
      std::error_code statusError;
      if (name.ends_with(extension) && it->is_regular_file(statusError)) {
        names.push_back(name);
      }
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) {
      entries.push_back(SceneListEntry{static_cast<int>(entries.size()) + 1, std::move(name), folder});
    }
  };
  listFolder(currentFolder);
  listFolder(folders.sceneDirectory);
  listFolder(folders.fallbackDirectory);
  listFolder(folders.legacyDirectory);
  entries.push_back(SceneListEntry{static_cast<int>(entries.size()) + 1, {}, {}});
  return entries;
}

}  // namespace rmt4
