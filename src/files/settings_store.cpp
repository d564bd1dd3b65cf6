#include "files/settings_store.h"

#include <string>

#include "files/file_access.h"
#include "files/profile.h"

namespace rmt4 {
namespace {

// The settings file in a folder; empty when the folder is unknown or the file
// name would reach outside the folder.
std::filesystem::path SettingsPath(const std::filesystem::path& folder, std::string_view file) {
  if (file.empty() || file.find('/') != std::string_view::npos || file == "." || file == "..") {
    return {};
  }
  return JoinFolder(folder, std::string(file) + std::string(kSettingsFileExtension));
}

}  // namespace

int SettingsStore::ReadSettingInt(std::string_view file, std::string_view key) const {
  const int current =
      ReadProfileInt(SettingsPath(folders_.settingsDirectory(), file), kSettingsSection, key, -1);
  if (current >= 0) {
    return current;
  }
  // What an older build kept beside its executable still counts until the setting is changed.
  return ReadProfileInt(SettingsPath(folders_.legacyDirectory, file), kSettingsSection, key, -1);
}

std::optional<std::string> SettingsStore::ReadSetting(std::string_view file, std::string_view key) const {
  for (const std::filesystem::path& folder : {folders_.settingsDirectory(), folders_.legacyDirectory}) {
    if (const std::optional<std::string> text = ReadProfileFile(SettingsPath(folder, file))) {
      if (std::optional<std::string> value = ProfileGetString(*text, kSettingsSection, key)) return value;
    }
  }
  return std::nullopt;
}

bool SettingsStore::WriteSettingInt(std::string_view file, std::string_view key, int value) const {
  return WriteSetting(file, key, std::to_string(value));
}

bool SettingsStore::WriteSetting(std::string_view file, std::string_view key,
                                 std::string_view text) const {
  const std::filesystem::path path = SettingsPath(folders_.settingsDirectory(), file);
  if (path.empty()) {
    return false;
  }
  EnsureDirectory(folders_.settingsDirectory());
  return WriteProfileString(path, kSettingsSection, key, text);
}

int ReadConnectionKindSetting(const SettingsStore& store) {
  const int kind = store.ReadSettingInt(kConfigurationSettingsFile, kConnectionKindKey);
  return kind < 0 ? kDefaultConnectionKind : kind;
}

int ReadSerialSpeedSetting(const SettingsStore& store) {
  const int speed = store.ReadSettingInt(kConfigurationSettingsFile, kSerialSpeedKey);
  return speed > 0 ? speed : kDefaultSerialSpeed;
}

int ReadSettingInt(std::string_view file, std::string_view key) {
  return SettingsStore(CurrentAppFolders()).ReadSettingInt(file, key);
}

bool WriteSettingInt(std::string_view file, std::string_view key, int value) {
  return SettingsStore(CurrentAppFolders()).WriteSettingInt(file, key, value);
}

bool WriteSetting(std::string_view file, std::string_view key, std::string_view text) {
  return SettingsStore(CurrentAppFolders()).WriteSetting(file, key, text);
}

}  // namespace rmt4
