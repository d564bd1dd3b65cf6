#include "platform/system_locale.h"

#include <array>
#include <cstddef>
#include <cstdlib>
#include <initializer_list>

namespace rmt4 {
namespace {

struct LocaleEntry {
  std::string_view language;
  std::string_view territory;
  std::uint16_t id;
};

// The first entry of each language is its main identifier, used for a
// territory that is not listed.
constexpr std::array<LocaleEntry, 19> kLocales{{
    {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004}, {"zh", "MO", 0x1404},
    {"en", "US", 0x0409}, {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009}, {"ja", "JP", 0x0411},
    {"ko", "KR", 0x0412}, {"de", "DE", 0x0407}, {"fr", "FR", 0x040C}, {"es", "ES", 0x0C0A}, {"it", "IT", 0x0410},
    {"pt", "BR", 0x0416}, {"pt", "PT", 0x0816}, {"ru", "RU", 0x0419}, {"nl", "NL", 0x0413},
}};

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

std::uint16_t LocaleIdFromName(std::string_view name) {
  // language[_territory][.codeset][@modifier]
  name = name.substr(0, name.find_first_of(".@"));
  const std::size_t separator = name.find('_');
  const std::string_view language = name.substr(0, separator);
  const std::string_view territory =
      separator == std::string_view::npos ? std::string_view{} : name.substr(separator + 1);

  const LocaleEntry* languageMain = nullptr;
  for (const LocaleEntry& entry : kLocales) {
    if (entry.language != language) {
      continue;
    }
    if (entry.territory == territory) {
      return entry.id;
    }
    if (languageMain == nullptr) {
      languageMain = &entry;
    }
  }
  return languageMain != nullptr ? languageMain->id : kEnglishUnitedStates;
}

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string_view{value} : std::string_view{};
}

}  // namespace

std::uint16_t SystemLocaleId(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
  for (std::string_view name : {lcAll, lcMessages, lang}) {
    if (!name.empty()) {
      return LocaleIdFromName(name);
    }
  }
  return kEnglishUnitedStates;
}

std::uint16_t SystemLocaleId() { return SystemLocaleId(Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")); }

}  // namespace rmt4
