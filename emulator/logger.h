#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace rmt4::emulator {

/// Diagnostics on standard error, one whole line at a time from any thread.
/// Errors always show; traffic only with --verbose.
class Logger {
 public:
  explicit Logger(bool verbose) : verbose_(verbose) {}

  void Error(std::string_view text);
  /// Only with --verbose.
  void Info(std::string_view text);
  /// Only with --verbose: a direction tag and the bytes in hex.
  void Traffic(std::string_view tag, std::span<const std::uint8_t> bytes);

 private:
  void Write(std::string_view text);

  const bool verbose_;
  std::mutex mutex_;
};

/// "80 05 06 ..." for logs.
[[nodiscard]] std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace rmt4::emulator
