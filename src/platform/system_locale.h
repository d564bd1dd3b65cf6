#pragma once

#include <cstdint>
#include <string_view>

namespace rmt4 {

/// The user's locale as a Windows-style locale identifier (0x0804 Chinese
/// (PRC), 0x0404 Chinese (Taiwan), 0x0C04 Chinese (Hong Kong SAR), 0x0409
/// English (United States), ...), taken from LC_ALL, LC_MESSAGES and LANG.
/// This is the only place that reads those variables.
[[nodiscard]] std::uint16_t SystemLocaleId();

/// The same from the variables' values (empty when unset). As in POSIX, the
/// first non-empty of LC_ALL, LC_MESSAGES and LANG decides. Codeset and
/// modifier ("zh_CN.UTF-8", "sr_RS@latin") are ignored; a known language with
/// an unlisted territory gets that language's main identifier; "C", "POSIX",
/// nothing set and unknown languages count as English (United States).
[[nodiscard]] std::uint16_t SystemLocaleId(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

}  // namespace rmt4
