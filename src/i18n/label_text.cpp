#include "i18n/label_text.h"

#include <cstddef>

#include "i18n/label_table.h"

namespace rmt4 {

std::string_view LabelText(LabelId id) noexcept { return LabelText(id, CurrentLanguage()); }

std::string_view LabelText(LabelId id, LanguageIndex language) noexcept {
  const auto row = static_cast<std::size_t>(id);
  if (row >= kLabelCount || !IsValidLanguage(language)) {
    return {};
  }
  return LabelTable()[row].texts[static_cast<std::size_t>(language)];
}

std::optional<LabelId> MatchLabelText(std::string_view text, std::span<const LabelId> candidates) noexcept {
  for (LabelId candidate : candidates) {
    for (std::size_t language = 0; language < kLanguageCount; ++language) {
      const std::string_view shown = LabelText(candidate, static_cast<LanguageIndex>(language));
      // An id outside the table shows nothing and must not match an empty text.
      if (!shown.empty() && shown == text) {
        return candidate;
      }
    }
  }
  return std::nullopt;
}

}  // namespace rmt4
