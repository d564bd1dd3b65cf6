#include "link/link_configuration.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "files/settings_store.h"

namespace rmt4 {

LinkConfiguration ReadLinkConfiguration(const AppFolders& folders) {
  const SettingsStore store(folders);
  LinkConfiguration configuration;
  configuration.connectionKind = ReadConnectionKindSetting(store);
  configuration.serialBaudRate = ReadSerialSpeedSetting(store);

  if (const char* overridden = std::getenv("RMT4_CONNECTION_KIND")) {
    const std::string_view text(overridden);
    int kind = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), kind);
    if (error == std::errc() && end == text.data() + text.size()) configuration.connectionKind = kind < 0 ? kUsbHid : kind;
  }
  return configuration;
}

std::string TracePathFromEnvironment() {
  const char* path = std::getenv("RMT4_TRACE");
  return path != nullptr ? path : "";
}

}  // namespace rmt4
