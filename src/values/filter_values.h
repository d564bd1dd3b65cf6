#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dsp/step_tables.h"
#include "values/editor_encodings.h"

namespace rmt4 {

/// The cut filters' frequencies by slider row: row 0 (19.3 Hz) means the
/// filter is off; rows 1..362 are those of FrequencyStepTable.
inline constexpr std::array<double, FrequencyStepTable.size()> FilterFreqTable = [] {
  auto table = FrequencyStepTable;
  table.front() = 19.3;
  return table;
}();
inline constexpr int kFilterOffRow = 0;
inline constexpr int kFilterTopRow = static_cast<int>(FilterFreqTable.size()) - 1;

/// The raw word of "filter off"; also the flag that marks a frequency in tenths.
inline constexpr std::uint16_t kFilterOffRaw = kCutFilterOff;

/// How the console takes an EQ or filter frequency: in tenths of a hertz plus
/// 0x8000 below 100 Hz, in whole hertz from 100 Hz up (fractions dropped).
[[nodiscard]] std::uint16_t EncodeFilterFrequency(double hz);
/// The frequency of a raw word: 0x8000 alone reads as 10.0 Hz (below every row).
[[nodiscard]] double DecodeFilterFrequency(std::uint16_t raw);

/// The raw word of slider row `row` (limited to 0..362); row 0 gives 0x8000.
[[nodiscard]] std::uint16_t FilterRowRaw(int row);
/// The first row whose frequency is at or above `hz`; the top row when none is.
[[nodiscard]] int FilterRowAtOrAbove(double hz);
/// The row that shows raw word `raw`.
[[nodiscard]] int FilterRowForRaw(std::uint16_t raw);

enum class CutFilter { kHighPass, kLowPass };

/// "HPF: OFF", "HPF: 19.7Hz", "HPF:  101Hz" … for slider row `row`, in the current language.
[[nodiscard]] std::string FilterFrequencyText(CutFilter filter, int row);

/// The filter slopes of the type selectors, in list order.
struct FilterTypeItem {
  std::string_view text;
  std::uint16_t highPassCode;
  std::uint16_t lowPassCode;
};
inline constexpr std::array<FilterTypeItem, 7> kFilterTypeItems{{
    {"Bypass", 0, 0},
    {"Bessel-12dB", 10, 11},
    {"Bessel-24dB", 22, 23},
    {"Bwoth-12dB", 8, 9},
    {"Bwoth-24dB", 20, 21},
    {"Lnkwtz-12dB", 12, 13},
    {"Lnkwtz-24dB", 24, 25},
}};

/// The console's code of list item `item` (item 0, "Bypass", for an item outside the list).
[[nodiscard]] std::uint16_t FilterTypeCode(CutFilter filter, int item);
/// The item that shows code `raw`. A code outside the table is taken as an
/// item number, as the console's own panel does: 1..6 show that item, larger
/// values "Bypass". The parameter keeps its value until the user picks a type.
[[nodiscard]] int FilterTypeItemForCode(CutFilter filter, int raw);

}  // namespace rmt4
