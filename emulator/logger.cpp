#include "emulator/logger.h"

#include <cstdio>

namespace rmt4::emulator {

void Logger::Error(std::string_view text) { Write(text); }

void Logger::Info(std::string_view text) {
  if (verbose_) Write(text);
}

void Logger::Traffic(std::string_view tag, std::span<const std::uint8_t> bytes) {
  if (verbose_) Write(std::string(tag) + ' ' + HexBytes(bytes));
}

void Logger::Write(std::string_view text) {
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "rmt4-console: %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

}  // namespace rmt4::emulator
