#pragma once

#include <array>
#include <span>
#include <string_view>

#include "i18n/label_id.h"
#include "i18n/language.h"

namespace rmt4 {

/// One label in Simplified Chinese, Traditional Chinese and English, in that
/// order, so that a LanguageIndex is the position of its text. Texts are UTF-8.
struct LabelRow {
  LabelId id;
  std::array<std::string_view, kLanguageCount> texts;
};

/// All rows, row i being LabelId i. Immutable for the life of the program.
[[nodiscard]] std::span<const LabelRow, kLabelCount> LabelTable() noexcept;

}  // namespace rmt4
