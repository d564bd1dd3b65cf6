#pragma once

// Reading what a user types for a value: words, switches and numbers, in any
// case, with the separators rmt4ctl and the windows accept.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rmt4 {

[[nodiscard]] std::string Lower(std::string_view text);
[[nodiscard]] std::string_view Trimmed(std::string_view text);
[[nodiscard]] bool EqualsIgnoringCase(std::string_view a, std::string_view b);

/// Lower-case words separated by spaces, commas or '+' (so "ON,48V" and "AUX1+MAIN" both split).
[[nodiscard]] std::vector<std::string> Words(std::string_view text);

/// "on", "1", "yes" or "off", "0", "no" (lower case); none for any other word.
[[nodiscard]] std::optional<bool> OnOffWord(std::string_view word);

/// A whole number, decimal or 0x-hexadecimal, at most `maximum`; none for anything else.
[[nodiscard]] std::optional<unsigned long> ParseWholeNumber(std::string_view text, unsigned long maximum);

}  // namespace rmt4
