#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/address_map.h"
#include "protocol/command.h"

namespace rmt4 {

/// One frame on the wire: 0x80, length L, command, payload, CRC high, CRC low.
/// L counts the bytes from the start byte to the last payload byte.
class LinkFrame {
 public:
  static constexpr std::uint8_t kStartByte = 0x80;
  static constexpr std::size_t kHeaderBytes = 3;
  static constexpr std::size_t kCrcBytes = 2;
  /// The longest payload this program frames; the length byte could carry 252.
  static constexpr std::size_t kMaxPayload = 249;
  static constexpr std::size_t kMaxBytes = kHeaderBytes + 252 + kCrcBytes;

  /// Builds a frame; nothing when the payload is longer than kMaxPayload.
  [[nodiscard]] static std::optional<LinkFrame> Build(Command command, std::span<const std::uint8_t> payload);

  [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return {bytes_.data(), size_}; }
  [[nodiscard]] Command command() const { return static_cast<Command>(bytes_[2]); }
  [[nodiscard]] std::span<const std::uint8_t> Payload() const {
    return {bytes_.data() + kHeaderBytes, size_ - kHeaderBytes - kCrcBytes};
  }

 private:
  LinkFrame() = default;
  std::array<std::uint8_t, kMaxBytes> bytes_{};
  std::size_t size_ = 0;
};

/// A checked frame inside someone else's buffer.
struct FrameView {
  std::uint8_t command;  // raw code: replies may carry codes we do not know
  std::span<const std::uint8_t> payload;
};

/// Checks that `bytes` starts with a complete frame whose CRC is right.
/// Lengths below 3 are never a frame.
[[nodiscard]] std::optional<FrameView> CheckFrame(std::span<const std::uint8_t> bytes);

/// The whole frame (start byte to CRC) a view made by CheckFrame was cut from.
[[nodiscard]] inline std::span<const std::uint8_t> CheckedFrameBytes(const FrameView& frame) {
  return {frame.payload.data() - LinkFrame::kHeaderBytes,
          frame.payload.size() + LinkFrame::kHeaderBytes + LinkFrame::kCrcBytes};
}

/// One address/value pair of a WriteParams or ReadParams payload.
struct ParamEntryData {
  ParamAddress address;
  std::uint16_t value;
};

/// Appends a big-endian 16-bit word.
void AppendWord(std::vector<std::uint8_t>& payload, std::uint16_t word);
[[nodiscard]] inline std::uint16_t ReadWord(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

/// Calls `visit` for every whole 4-byte entry; a shorter tail is ignored.
template <typename Visit>
void ForEachParamEntry(std::span<const std::uint8_t> payload, Visit&& visit) {
  for (std::size_t at = 0; at + 4 <= payload.size(); at += 4) {
    visit(ParamEntryData{ReadWord(&payload[at]), ReadWord(&payload[at + 2])});
  }
}

}  // namespace rmt4
