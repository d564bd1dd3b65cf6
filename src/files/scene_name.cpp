#include "files/scene_name.h"

namespace rmt4 {

SceneNameFault CheckSceneName(std::string_view name, std::string_view extension) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return SceneNameFault::kControlCharacter;
  }
  if (name.find_first_of("/\\") != std::string_view::npos) return SceneNameFault::kFolderPart;
  if (name.starts_with('.') || name.find("..") != std::string_view::npos) return SceneNameFault::kDots;
  const std::size_t length = name.size() + (name.find(extension) == std::string_view::npos ? extension.size() : 0);
  if (length > kMaxSceneFileNameBytes) return SceneNameFault::kTooLong;
  return SceneNameFault::kNone;
}

}  // namespace rmt4
