#pragma once

// What a scene changes: one entry per thing a user names (a fader, a mute,
// a channel's 48V), in the console's channel order. `scene diff`, the scene
// upload and the window's preview all list these, so they agree.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {

using SceneWords = std::span<const std::uint16_t, kParamCount>;

/// Whether an upload writes `address`: the meters, the device type and the
/// mode words describe the console and its state, not the scene.
[[nodiscard]] bool IsSceneSetting(ParamAddress address);

/// The words a scene file sets over `console`: all but the file's last value,
/// so a file of 1574 values sets 0..1572 and a longer one reaches 1573.
[[nodiscard]] std::array<std::uint16_t, kParamCount> UploadedWords(SceneWords console,
                                                                   std::span<const std::uint16_t> file);

struct SceneChange {
  /// The bit name ("ch1.48v") or, for bits no bit name covers, the word's name.
  std::string name;
  ParamAddress address = 0;
  /// The bits of the word this change concerns.
  std::uint16_t mask = 0;
  std::uint16_t before = 0;  ///< whole words; only `mask` differs between them
  std::uint16_t after = 0;
  std::string beforeText;  ///< in units, each side read in its own scene
  std::string afterText;
  friend bool operator==(const SceneChange&, const SceneChange&) = default;
};

/// Every setting that differs, grouped by channel in console order (inputs,
/// returns, MAIN, AUX, system, unnamed words), in address order within one.
[[nodiscard]] std::vector<SceneChange> SceneChanges(SceneWords before, SceneWords after);

/// "ch3.fader: -10.0 dB → -inf".
[[nodiscard]] std::string SceneChangeLine(const SceneChange& change);
/// The same in words: "CH3 fader: -10.0 dB → -inf".
[[nodiscard]] std::string SceneChangeInWords(const SceneChange& change);

}  // namespace rmt4
