#include "files/scene_scope_settings.h"

#include <sstream>

namespace rmt4 {

std::string SceneScopeKey(std::string_view sceneName) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string key = "LeftOut.";
  for (const char c : sceneName) {
    const auto byte = static_cast<unsigned char>(c);
    key += kDigits[byte >> 4];
    key += kDigits[byte & 0x0F];
  }
  return key;
}

std::vector<std::string> ReadLeftOutGroups(const SettingsStore& store, std::string_view sceneName) {
  const std::optional<std::string> stored = store.ReadSetting(kSceneScopesSettingsFile, SceneScopeKey(sceneName));
  std::vector<std::string> groups;
  if (!stored) return groups;
  std::istringstream words(*stored);
  for (std::string group; words >> group;) groups.push_back(group);
  return groups;
}

bool WriteLeftOutGroups(const SettingsStore& store, std::string_view sceneName, std::span<const std::string> groups) {
  std::string text;
  for (const std::string& group : groups) text += (text.empty() ? "" : " ") + group;
  return store.WriteSetting(kSceneScopesSettingsFile, SceneScopeKey(sceneName), text);
}

}  // namespace rmt4
