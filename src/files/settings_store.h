#pragma once

// The settings store: integer settings in the two profile files
// "Language.ini" and "Configuration.ini", kept in the data folder; copies an
// older build left beside its executable are read, never written.
//
// Every program of the project (the GUI, rmt4ctl, the emulator) uses the one
// section kSettingsSection, so they share their settings.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/app_folders.h"

namespace rmt4 {

inline constexpr std::string_view kSettingsSection = "rmt4";

inline constexpr std::string_view kLanguageSettingsFile = "Language";
inline constexpr std::string_view kConfigurationSettingsFile = "Configuration";
inline constexpr std::string_view kSettingsFileExtension = ".ini";

inline constexpr std::string_view kLanguageKey = "Language";             // in "Language"
inline constexpr std::string_view kConnectionKindKey = "m_COM_MdoeIO";   // in "Configuration"
inline constexpr std::string_view kSerialSpeedKey = "m_COM_m_BoTeLV";    // in "Configuration"

inline constexpr int kDefaultConnectionKind = 1;   // USB
inline constexpr int kDefaultSerialSpeed = 128000;

class SettingsStore {
 public:
  explicit SettingsStore(AppFolders folders) : folders_(std::move(folders)) {}

  /// The key from the data folder's file + ".ini"; when that is negative or
  /// missing, from the legacy folder's copy; −1 when found in neither. A value
  /// that is not a decimal integer counts as missing.
  [[nodiscard]] int ReadSettingInt(std::string_view file, std::string_view key) const;

  /// The key's text, by the same rule: the data folder's file, else the legacy
  /// folder's copy; nullopt when found in neither.
  [[nodiscard]] std::optional<std::string> ReadSetting(std::string_view file, std::string_view key) const;

  /// WriteSetting with the value in decimal.
  bool WriteSettingInt(std::string_view file, std::string_view key, int value) const;

  /// Writes key = text into the data folder's file, creating the folder when
  /// missing (it does not exist before the first save). Nothing is written
  /// beside the executable. False when the file could not be written.
  bool WriteSetting(std::string_view file, std::string_view key, std::string_view text) const;

  [[nodiscard]] const AppFolders& folders() const { return folders_; }

 private:
  AppFolders folders_;
};

/// The transport chosen in the settings: "m_COM_MdoeIO", or 1 (USB) when
/// missing or negative.
[[nodiscard]] int ReadConnectionKindSetting(const SettingsStore& store);

/// The serial speed in bit/s: "m_COM_m_BoTeLV" when greater than 0, else 128000.
[[nodiscard]] int ReadSerialSpeedSetting(const SettingsStore& store);

/// The same operations on the real folders of this process (CurrentAppFolders).
[[nodiscard]] int ReadSettingInt(std::string_view file, std::string_view key);
bool WriteSettingInt(std::string_view file, std::string_view key, int value);
bool WriteSetting(std::string_view file, std::string_view key, std::string_view text);

}  // namespace rmt4
