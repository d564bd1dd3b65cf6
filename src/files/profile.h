#pragma once

// Reader and writer of the private-profile text format ("ini" files):
//
//   [section]
//   key=value
//
// Tolerant reading: spaces and tabs around names, values and brackets; CRLF or
// LF line ends; a missing final newline; a UTF-8 byte-order mark; comment
// lines (";" or "#"); garbage lines (ignored); section and key names compared
// without regard to ASCII case, as Windows does; a value in matching quotes is
// read without them. A key may be found in any section of the given name (the
// first match in file order wins).
//
// Writing one key changes only that key's line (or adds one line, or one new
// section at the end) and keeps every other byte of the text as it was.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

/// Settings files larger than this are not read (and therefore not rewritten).
inline constexpr std::size_t kMaxProfileBytes = 64 * 1024;

/// The value of `key` in `section`, trimmed and unquoted; nullopt when the
/// section or key is missing.
[[nodiscard]] std::optional<std::string> ProfileGetString(std::string_view text,
                                                          std::string_view section,
                                                          std::string_view key);

/// A value text read as a decimal integer: optional spaces, an optional sign,
/// at least one digit; anything after the digits is ignored ("12 ; note" is
/// 12). nullopt for an empty or non-numeric value or one outside int.
[[nodiscard]] std::optional<int> ParseProfileInt(std::string_view value);

/// ProfileGetString followed by ParseProfileInt.
[[nodiscard]] std::optional<int> ProfileGetInt(std::string_view text, std::string_view section,
                                               std::string_view key);

/// Whether the names and value can be written so that they read back the same:
/// section and key non-empty, without line breaks, without surrounding
/// whitespace; a key without "=" that does not start with "[", ";" or "#"; a
/// section without "]"; a value without line breaks or surrounding whitespace.
[[nodiscard]] bool IsWritableProfileEntry(std::string_view section, std::string_view key,
                                          std::string_view value);

/// The text with `key` set to `value` in `section`: the first existing line of
/// the key is rewritten (its line end kept); otherwise a line is added after
/// the last key of the first such section; otherwise the section is appended.
/// New lines use the text's own line end (CRLF when its first line ends so).
/// nullopt when the entry is not writable or the result would exceed
/// kMaxProfileBytes.
[[nodiscard]] std::optional<std::string> ProfileSetString(std::string_view text,
                                                          std::string_view section,
                                                          std::string_view key,
                                                          std::string_view value);

/// The whole settings file; nullopt when missing, unreadable, not a regular
/// file or larger than kMaxProfileBytes.
[[nodiscard]] std::optional<std::string> ReadProfileFile(const std::filesystem::path& path);

/// The integer value of `key` in `section` of the file, or `defaultValue` when
/// the file, section or key is missing or the value is not a number.
[[nodiscard]] int ReadProfileInt(const std::filesystem::path& path, std::string_view section,
                                 std::string_view key, int defaultValue);

/// Sets one key in the file, creating the file (not its folder) when missing.
/// The file is replaced atomically. False when the folder is missing or not
/// writable, the existing file cannot be read whole (e.g. larger than
/// kMaxProfileBytes), or the entry is not writable.
[[nodiscard]] bool WriteProfileString(const std::filesystem::path& path, std::string_view section,
                                      std::string_view key, std::string_view value);

}  // namespace rmt4
