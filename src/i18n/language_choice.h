#pragma once

#include <cstdint>

#include "i18n/language.h"

namespace rmt4 {

/// The language at start: the stored "Language" setting when it names one of
/// the three languages, otherwise the one that suits the system locale.
/// `storedSetting` is the settings store's integer (-1 when missing); any value
/// other than 0, 1 or 2 counts as missing, so a damaged or hand-edited file
/// can never select a text. `localeId` is a Windows-style locale identifier:
/// 0x0804 gives Simplified Chinese, 0x0404 and 0x0C04 Traditional Chinese,
/// every other identifier English.
[[nodiscard]] LanguageIndex ChooseLanguage(int storedSetting, std::uint16_t localeId) noexcept;

}  // namespace rmt4
