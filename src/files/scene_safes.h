#pragma once

// The safes, name patterns no scene upload writes, in "Configuration" where
// the window and rmt4ctl both find them.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/settings_store.h"

namespace rmt4 {

inline constexpr std::string_view kSceneSafesKey = "SceneSafes";
/// Phantom power of every channel: switching it with a scene can damage
/// equipment and hurt ears, so it is safe until the user says otherwise.
inline constexpr std::string_view kDefaultSafe = "ch*.48v";

/// The stored safes in the order added; 48V of every channel until the user
/// has stored a list of his own (an empty one included).
[[nodiscard]] std::vector<std::string> ReadSceneSafes(const SettingsStore& store);
/// False when the list could not be written.
bool WriteSceneSafes(const SettingsStore& store, std::span<const std::string> safes);

}  // namespace rmt4
