#include "files/scene_safes.h"

#include <sstream>

namespace rmt4 {

std::vector<std::string> ReadSceneSafes(const SettingsStore& store) {
  const std::optional<std::string> stored = store.ReadSetting(kConfigurationSettingsFile, kSceneSafesKey);
  if (!stored) return {std::string(kDefaultSafe)};
  // Names hold no spaces: the patterns are stored one after another, space-separated.
  std::vector<std::string> safes;
  std::istringstream words(*stored);
  for (std::string pattern; words >> pattern;) safes.push_back(pattern);
  return safes;
}

bool WriteSceneSafes(const SettingsStore& store, std::span<const std::string> safes) {
  std::string text;
  for (const std::string& pattern : safes) text += (text.empty() ? "" : " ") + pattern;
  return store.WriteSetting(kConfigurationSettingsFile, kSceneSafesKey, text);
}

}  // namespace rmt4
