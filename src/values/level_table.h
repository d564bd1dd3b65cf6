#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace rmt4 {

/// Raw console levels by fader step: tenths of a dB offset by 1200
/// (1200 = 0 dB, 1300 = +10 dB, 800 = -40 dB), finer steps near 0 dB.
inline constexpr std::size_t kLevelTableSize = 300;

[[nodiscard]] constexpr std::array<std::uint16_t, kLevelTableSize> MakeLevelTable() {
  std::array<std::uint16_t, kLevelTableSize> table{};
  for (std::size_t i = 0; i < kLevelTableSize; ++i) {
    const int step = static_cast<int>(i);
    int raw = 0;
    if (step <= 40) {
      raw = 20 * step;
    } else if (step <= 80) {
      raw = 800 + 5 * (step - 40);
    } else if (step <= 180) {
      raw = 1000 + 2 * (step - 80);
    } else {
      raw = 1200 + (step - 180);
    }
    table[i] = static_cast<std::uint16_t>(raw);
  }
  return table;
}

inline constexpr std::array<std::uint16_t, kLevelTableSize> LevelTable = MakeLevelTable();

/// The strip faders use steps 0..280 (up to +10 dB).
inline constexpr int kStripFaderTop = 280;

/// Bit 15 of a level word is a flag, not part of the level.
inline constexpr std::uint16_t kLevelMask = 0x7FFF;

/// The level of fader step `step`; steps beyond the table read its last entry.
[[nodiscard]] std::uint16_t LevelAtStep(int step);

/// The lowest strip fader step (0..280) whose level reaches `raw` (bit 15
/// ignored); none when `raw` lies above the fader's top.
[[nodiscard]] std::optional<int> FaderStepForLevel(std::uint16_t raw);

/// The strip fader step of 0 dB: as far up as one key takes a level fader
/// or send (End), so that a key never throws a channel to +10 dB.
[[nodiscard]] int ZeroDbStep();

/// The level of a word in dB, (level − 1200)/10, bit 15 ignored; 0 is "- ∞" wherever it is shown.
[[nodiscard]] double LevelDb(std::uint16_t raw);
/// The word of a level in dB, rounded to the tenth the word holds (no flag, never below 0).
[[nodiscard]] std::uint16_t LevelRaw(double db);

}  // namespace rmt4
