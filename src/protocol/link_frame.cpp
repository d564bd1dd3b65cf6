#include "protocol/link_frame.h"

#include <algorithm>

#include "protocol/crc16.h"

namespace rmt4 {

std::optional<LinkFrame> LinkFrame::Build(Command command, std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxPayload) return std::nullopt;
  LinkFrame frame;
  const std::size_t length = kHeaderBytes + payload.size();
  frame.bytes_[0] = kStartByte;
  frame.bytes_[1] = static_cast<std::uint8_t>(length);
  frame.bytes_[2] = static_cast<std::uint8_t>(command);
  std::copy(payload.begin(), payload.end(), frame.bytes_.begin() + kHeaderBytes);
  const std::uint16_t crc = Crc16(frame.bytes_.data(), length);
  frame.bytes_[length] = static_cast<std::uint8_t>(crc >> 8);
  frame.bytes_[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
  frame.size_ = length + kCrcBytes;
  return frame;
}

std::optional<FrameView> CheckFrame(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < LinkFrame::kHeaderBytes + LinkFrame::kCrcBytes) return std::nullopt;
  if (bytes[0] != LinkFrame::kStartByte) return std::nullopt;
  const std::size_t length = bytes[1];
  if (length < LinkFrame::kHeaderBytes || length + LinkFrame::kCrcBytes > bytes.size()) return std::nullopt;
  const std::uint16_t sent = ReadWord(&bytes[length]);
  if (Crc16(bytes.data(), length) != sent) return std::nullopt;
  return FrameView{bytes[2], bytes.subspan(LinkFrame::kHeaderBytes, length - LinkFrame::kHeaderBytes)};
}

void AppendWord(std::vector<std::uint8_t>& payload, std::uint16_t word) {
  payload.push_back(static_cast<std::uint8_t>(word >> 8));
  payload.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

}  // namespace rmt4
