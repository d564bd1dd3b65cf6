#pragma once

// The OSC server's stored settings, in "Configuration" beside the transport:
// whether it serves and the texts the user typed for how.

#include <string>

#include "files/settings_store.h"

namespace rmt4 {

inline constexpr std::string_view kOscOnKey = "OscOn";
inline constexpr std::string_view kOscPortKey = "OscPort";
inline constexpr std::string_view kOscBindAddressKey = "OscBindAddress";
inline constexpr std::string_view kOscAllowKey = "OscAllow";

struct StoredOscSettings {
  /// Off until the user turns it on: a console is not opened to others unasked.
  bool on = false;
  std::string port = "9000";
  std::string bindAddress = "127.0.0.1";
  /// Comma-separated addresses and networks; empty: whoever reaches the bound address.
  std::string allow;
  friend bool operator==(const StoredOscSettings&, const StoredOscSettings&) = default;
};

/// What is stored, the defaults for what is not.
[[nodiscard]] StoredOscSettings ReadOscSettings(const SettingsStore& store);
/// False when any of them could not be written.
bool WriteOscSettings(const SettingsStore& store, const StoredOscSettings& settings);

}  // namespace rmt4
