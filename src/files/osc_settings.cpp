#include "files/osc_settings.h"

namespace rmt4 {

StoredOscSettings ReadOscSettings(const SettingsStore& store) {
  StoredOscSettings settings;
  settings.on = store.ReadSettingInt(kConfigurationSettingsFile, kOscOnKey) == 1;
  const auto read = [&store](std::string_view key, std::string& text) {
    if (std::optional<std::string> stored = store.ReadSetting(kConfigurationSettingsFile, key)) text = std::move(*stored);
  };
  read(kOscPortKey, settings.port);
  read(kOscBindAddressKey, settings.bindAddress);
  read(kOscAllowKey, settings.allow);
  return settings;
}

bool WriteOscSettings(const SettingsStore& store, const StoredOscSettings& settings) {
  // Each is tried: one that fails leaves the others stored.
  bool written = store.WriteSettingInt(kConfigurationSettingsFile, kOscOnKey, settings.on ? 1 : 0);
  written = store.WriteSetting(kConfigurationSettingsFile, kOscPortKey, settings.port) && written;
  written = store.WriteSetting(kConfigurationSettingsFile, kOscBindAddressKey, settings.bindAddress) && written;
  written = store.WriteSetting(kConfigurationSettingsFile, kOscAllowKey, settings.allow) && written;
  return written;
}

}  // namespace rmt4
