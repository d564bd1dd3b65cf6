#include "i18n/language_choice.h"

namespace rmt4 {
namespace {

LanguageIndex LanguageForLocale(std::uint16_t localeId) noexcept {
  switch (localeId) {
    case 0x0804:  // Chinese (PRC)
      return LanguageIndex::SimplifiedChinese;
    case 0x0404:  // Chinese (Taiwan)
    case 0x0C04:  // Chinese (Hong Kong SAR)
      return LanguageIndex::TraditionalChinese;
    default:
      return LanguageIndex::English;
  }
}

}  // namespace

LanguageIndex ChooseLanguage(int storedSetting, std::uint16_t localeId) noexcept {
  // The whole stored value is checked, not just its low byte: 256 or 258 in a
  // hand-edited file must not alias a language either.
  if (storedSetting >= 0 && storedSetting < static_cast<int>(kLanguageCount)) {
    return static_cast<LanguageIndex>(storedSetting);
  }
  return LanguageForLocale(localeId);
}

}  // namespace rmt4
