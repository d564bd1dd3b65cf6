#include "values/filter_values.h"

#include <algorithm>

#include "i18n/label_id.h"
#include "i18n/label_text.h"
#include "values/editor_encodings.h"
#include "values/label_format.h"

namespace rmt4 {
namespace {

constexpr double kTenthsLimitHz = 100.0;
// The grid holds exact tenths; a product such as 19.7 × 10 may land a hair
// below the whole number it stands for, which truncation must not lose.
constexpr double kRepresentationSlack = 1e-6;

}  // namespace

std::uint16_t EncodeFilterFrequency(double hz) {
  if (!(hz > 0.0)) return kFilterOffRaw;
  if (hz < kTenthsLimitHz)
    return static_cast<std::uint16_t>(kFilterOffRaw + static_cast<int>(hz * 10 + kRepresentationSlack));
  return static_cast<std::uint16_t>(std::min(hz + kRepresentationSlack, static_cast<double>(kFilterOffRaw - 1)));
}

double DecodeFilterFrequency(std::uint16_t raw) { return DecodeCutFrequency(raw, 10.0); }

std::uint16_t FilterRowRaw(int row) {
  const int clamped = std::clamp(row, kFilterOffRow, kFilterTopRow);
  if (clamped == kFilterOffRow) return kFilterOffRaw;
  return EncodeFilterFrequency(FilterFreqTable[static_cast<std::size_t>(clamped)]);
}

int FilterRowAtOrAbove(double hz) {
  const auto found = std::lower_bound(FilterFreqTable.begin(), FilterFreqTable.end(), hz - kRepresentationSlack);
  if (found == FilterFreqTable.end()) return kFilterTopRow;
  return static_cast<int>(found - FilterFreqTable.begin());
}

int FilterRowForRaw(std::uint16_t raw) { return FilterRowAtOrAbove(DecodeFilterFrequency(raw)); }

std::string FilterFrequencyText(CutFilter filter, int row) {
  const bool high = filter == CutFilter::kHighPass;
  const double hz = FilterFreqTable[static_cast<std::size_t>(std::clamp(row, kFilterOffRow, kFilterTopRow))];
  if (hz < FilterFreqTable[1]) return std::string(LabelText(high ? LabelId::HpfOff : LabelId::LpfOff));
  if (hz < kTenthsLimitHz) {
    return FormatLabel(high ? LabelId::HpfFractionalHzFormat : LabelId::LpfFractionalHzFormat, hz);
  }
  return FormatLabel(high ? LabelId::HpfWholeHzFormat : LabelId::LpfWholeHzFormat, static_cast<int>(hz));
}

std::uint16_t FilterTypeCode(CutFilter filter, int item) {
  const bool inList = item >= 0 && item < static_cast<int>(kFilterTypeItems.size());
  const FilterTypeItem& entry = kFilterTypeItems[inList ? static_cast<std::size_t>(item) : 0];
  return filter == CutFilter::kHighPass ? entry.highPassCode : entry.lowPassCode;
}

int FilterTypeItemForCode(CutFilter filter, int raw) {
  for (std::size_t item = 0; item < kFilterTypeItems.size(); ++item) {
    if (FilterTypeCode(filter, static_cast<int>(item)) == raw) return static_cast<int>(item);
  }
  const bool isItemNumber = raw >= 0 && raw < static_cast<int>(kFilterTypeItems.size());
  return isItemNumber ? raw : 0;
}

}  // namespace rmt4
