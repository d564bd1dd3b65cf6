#pragma once

#include <QString>

#include <cstdint>

namespace rmt4::ui {

/// The pan or balance read-out of a 0..200 control: "L = R" at 100,
/// "L 60%" at 40, "R 50%" at 150.
[[nodiscard]] QString PanText(int panValue);

/// The level read-out of a level word (bit 15 ignored), the value the
/// parameter catalogue reads too: "- ∞" at 0, else dB with one decimal from
/// -40 dB up ("0.0dB", "-40.0dB") and whole dB below ("-42dB") where the word
/// holds whole dB, as every fader step there does.
[[nodiscard]] QString LevelText(std::uint16_t levelWord);

}  // namespace rmt4::ui
