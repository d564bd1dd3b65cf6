#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rmt4 {

/// Over USB HID a frame travels inside a message AE 1E Nh Nl C8 <frame>, cut
/// into 64-byte pieces, each sent as a 65-byte report with report number 0.
inline constexpr std::size_t kHidReportBytes = 65;
inline constexpr std::size_t kHidReportDataBytes = 64;
using HidReport = std::array<std::uint8_t, kHidReportBytes>;

[[nodiscard]] std::vector<HidReport> WrapHidMessage(std::span<const std::uint8_t> frame);

/// Reassembles messages from the data bytes of input reports (the bytes after
/// the report number). One instance per reader; state is kept across reports.
class HidReassembler {
 public:
  /// Takes one report's data bytes (at most 64 are used). Returns the frame
  /// bytes of a message completed by this report; the view is valid until the
  /// next call.
  [[nodiscard]] std::optional<std::span<const std::uint8_t>> Feed(std::span<const std::uint8_t> data);

 private:
  static constexpr std::size_t kBufferBytes = 1024;
  // A continuation report that would not fit restarts filling from 0.
  static constexpr std::size_t kRestartFill = 960;

  std::array<std::uint8_t, kBufferBytes> buffer_{};
  std::size_t fill_ = 0;
  std::size_t expected_ = 0;
  bool delivered_ = false;
};

}  // namespace rmt4
