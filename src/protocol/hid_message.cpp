#include "protocol/hid_message.h"

#include <algorithm>

namespace rmt4 {
namespace {

constexpr std::uint8_t kMagic0 = 0xAE;
constexpr std::uint8_t kMagic1 = 0x1E;
constexpr std::uint8_t kMagic4 = 0xC8;
constexpr std::size_t kMessageHeaderBytes = 5;

}  // namespace

std::vector<HidReport> WrapHidMessage(std::span<const std::uint8_t> frame) {
  std::vector<std::uint8_t> message;
  message.reserve(frame.size() + kMessageHeaderBytes);
  message.insert(message.end(), {kMagic0, kMagic1, static_cast<std::uint8_t>(frame.size() >> 8),
                                 static_cast<std::uint8_t>(frame.size() & 0xFF), kMagic4});
  message.insert(message.end(), frame.begin(), frame.end());

  std::vector<HidReport> reports;
  for (std::size_t at = 0; at < message.size(); at += kHidReportDataBytes) {
    HidReport report{};  // report number 0, last piece zero-filled
    const std::size_t count = std::min(kHidReportDataBytes, message.size() - at);
    std::copy_n(message.begin() + static_cast<std::ptrdiff_t>(at), count, report.begin() + 1);
    reports.push_back(report);
  }
  return reports;
}

std::optional<std::span<const std::uint8_t>> HidReassembler::Feed(std::span<const std::uint8_t> data) {
  data = data.first(std::min(data.size(), kHidReportDataBytes));
  const bool starts = data.size() >= kMessageHeaderBytes && data[0] == kMagic0 && data[1] == kMagic1 &&
                      data[4] == kMagic4;
  if (starts) {
    expected_ = static_cast<std::size_t>(data[2] << 8 | data[3]);
    buffer_.fill(0);
    fill_ = data.size() - kMessageHeaderBytes;
    std::copy(data.begin() + kMessageHeaderBytes, data.end(), buffer_.begin());
    delivered_ = false;
  } else {
    if (delivered_) return std::nullopt;
    if (fill_ >= kRestartFill) fill_ = 0;
    std::copy(data.begin(), data.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(fill_));
    fill_ += data.size();
  }
  if (expected_ != 0 && fill_ >= expected_) {
    delivered_ = true;
    return std::span<const std::uint8_t>(buffer_.data(), expected_);
  }
  return std::nullopt;
}

}  // namespace rmt4
