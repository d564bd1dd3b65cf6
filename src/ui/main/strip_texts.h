#pragma once

#include <QString>

namespace rmt4::ui {

/// The pan or balance read-out of a 0..200 control: "L = R" at 100,
/// "L 60%" at 40, "R 50%" at 150.
[[nodiscard]] QString PanText(int panValue);

/// The level read-out of a strip fader at `faderStep` (position / setScale):
/// "- ∞" at the bottom, else dB with one decimal from -40 dB up ("0.0dB",
/// "-40.0dB") and whole dB below ("-42dB").
[[nodiscard]] QString LevelText(double faderStep);

}  // namespace rmt4::ui
