#pragma once

#include <string>

namespace rmt4 {

// Conversions of the output editors' own controls (MAIN, AUX1..AUX6). The
// delays, the compressor, the bands and the filters are encoded as on the
// input editor: use input_editor_conversions.h and filter_values.h for those.

/// The feedback suppressor: 0 off, 1..5 its strength; the raw word is the slider value.
inline constexpr int kFeedbackSuppressorTop = 5;

[[nodiscard]] int FeedbackSuppressorRaw(double position);
/// The slider position of a raw word, limited to the slider's range.
[[nodiscard]] double FeedbackSuppressorPosition(int raw);
/// "FEBK:OFF", "FEBK:FB3" …, the name in the current language.
[[nodiscard]] std::string FeedbackSuppressorText(double position);

/// MAIN's two delays, positions in tenths of a millisecond as DelayPosition gives them.
[[nodiscard]] std::string LeftDelayText(double position);
[[nodiscard]] std::string RightDelayText(double position);

}  // namespace rmt4
