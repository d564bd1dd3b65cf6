#pragma once

// The words the catalogue shows for coded values, shared by its formatter
// and its parser so that what is printed can be typed back.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/effect_program_values.h"
#include "values/output_editor_conversions.h"
#include "values/param_catalogue.h"

namespace rmt4::param_words {

struct CodeWord {
  std::uint16_t code;
  std::string_view word;
};

inline constexpr std::array<CodeWord, 3> kBandTypes{{{5, "high-shelf"}, {6, "low-shelf"}, {7, "peaking"}}};
inline constexpr std::array<CodeWord, 3> kFootSwitch{{{1, "FX1"}, {2, "FX2"}, {3, "FX1+FX2"}}};
inline constexpr std::array<CodeWord, 2> kRecorder{{{0, "MP3"}, {1, "USB"}}};
/// Bits of the PFL bus word.
inline constexpr std::array<CodeWord, 9> kPflBusBits{{{0x0001, "AUX1"},
                                                      {0x0002, "AUX2"},
                                                      {0x0004, "AUX3"},
                                                      {0x0008, "AUX4"},
                                                      {0x0010, "AUX5"},
                                                      {0x0020, "AUX6"},
                                                      {0x0040, "MAIN"},
                                                      {0x0100, "FX1"},
                                                      {0x0200, "FX2"}}};
/// Low 14 bits of an input's PFL word: non-zero = in PFL (bit 15 is the console's).
inline constexpr std::uint16_t kPflOnMask = 0x3FFF;
/// Compressor threshold words are tenths of a dB above -50 dBu.
inline constexpr double kThresholdOffsetDb = 50.0;
inline constexpr auto kFeedbackTop = static_cast<std::uint16_t>(kFeedbackSuppressorTop);
inline constexpr auto kProgramTop = static_cast<std::uint16_t>(kLastProgram);
inline constexpr auto kProgramTypeTop = static_cast<std::uint16_t>(kLastProgramType);
inline constexpr std::uint16_t kModeTop = 12;

/// The typed range of a kind measured in a unit; values outside it are refused.
struct UnitRange {
  double min;
  double max;
  std::string_view unit;  ///< as printed; typed in any case after the number
};
[[nodiscard]] std::optional<UnitRange> NumericRange(ValueKind kind);

/// A whole number, decimal or 0x-hexadecimal, at most `maximum`; none for anything else.
[[nodiscard]] std::optional<unsigned long> ParseWholeNumber(std::string_view text, unsigned long maximum);

[[nodiscard]] bool EqualsIgnoringCase(std::string_view a, std::string_view b);

/// "REVERB HALL" … for programs 1..16, "Ueser-n" above; empty outside 1..36.
[[nodiscard]] std::string ProgramName(ValueKind kind, std::uint16_t program);

/// "OFF", "FB1".."FB5".
[[nodiscard]] std::string FeedbackName(std::uint16_t stage);

}  // namespace rmt4::param_words
