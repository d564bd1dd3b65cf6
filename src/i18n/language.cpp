#include "i18n/language.h"

#include <array>
#include <atomic>

namespace rmt4 {
namespace {

// Relaxed order is enough: the value publishes no other data, the label
// table it indexes is constant.
std::atomic<LanguageIndex> currentLanguage{LanguageIndex::English};

constexpr std::array<std::string_view, kLanguageCount> kLanguageNames{"简体中文", "繁體中文", "English"};
constexpr std::array<std::uint16_t, kLanguageCount> kMessageLanguageIds{0x0804, 0x0404, 0x0409};

}  // namespace

LanguageIndex CurrentLanguage() noexcept { return currentLanguage.load(std::memory_order_relaxed); }

bool SetCurrentLanguage(LanguageIndex language) noexcept {
  if (!IsValidLanguage(language)) {
    return false;
  }
  currentLanguage.store(language, std::memory_order_relaxed);
  return true;
}

std::string_view LanguageName(LanguageIndex language) noexcept {
  return IsValidLanguage(language) ? kLanguageNames[static_cast<std::size_t>(language)] : std::string_view{};
}

std::uint16_t MessageLanguageId(LanguageIndex language) noexcept {
  return kMessageLanguageIds[static_cast<std::size_t>(IsValidLanguage(language) ? language : LanguageIndex::English)];
}

}  // namespace rmt4
