#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "i18n/label_id.h"
#include "i18n/language.h"

namespace rmt4 {

/// The row's text in the current language.
/// An id outside the table gives an empty text rather than reading past it.
[[nodiscard]] std::string_view LabelText(LabelId id) noexcept;

/// The row's text in `language`; empty for an id or language outside the table.
[[nodiscard]] std::string_view LabelText(LabelId id, LanguageIndex language) noexcept;

/// Which of `candidates` shows `text` in any of the three languages, so that a
/// caption set before a language change can be re-labelled in the new one.
[[nodiscard]] std::optional<LabelId> MatchLabelText(std::string_view text,
                                                    std::span<const LabelId> candidates) noexcept;

}  // namespace rmt4
