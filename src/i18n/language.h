#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rmt4 {

/// The interface language. The numeric values are stored in the "Language"
/// setting and are the position of each text in a label row.
enum class LanguageIndex : std::uint8_t {
  SimplifiedChinese = 0,
  TraditionalChinese = 1,
  English = 2,
};

inline constexpr std::size_t kLanguageCount = 3;

[[nodiscard]] constexpr bool IsValidLanguage(LanguageIndex language) noexcept {
  return static_cast<std::size_t>(language) < kLanguageCount;
}

/// The process-wide language. Set at start before any window exists and again
/// when the user picks another language; every thread may read it at any time.
[[nodiscard]] LanguageIndex CurrentLanguage() noexcept;

/// Returns false and keeps the current language when `language` is not one of
/// the three languages.
[[nodiscard]] bool SetCurrentLanguage(LanguageIndex language) noexcept;

/// The language's own name, as offered by the language selector
/// ("简体中文", "繁體中文", "English"); empty for an invalid value.
[[nodiscard]] std::string_view LanguageName(LanguageIndex language) noexcept;

/// The locale identifier a message box is raised with so that the window
/// system labels its own buttons in the interface language:
/// 0x0804, 0x0404 or 0x0409 (English also for an invalid value).
[[nodiscard]] std::uint16_t MessageLanguageId(LanguageIndex language) noexcept;

}  // namespace rmt4
