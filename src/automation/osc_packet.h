#pragma once

// OSC 1.0 packets: messages and bundles in, messages out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rmt4 {

/// Larger packets are dropped unread.
inline constexpr std::size_t kMaxOscPacket = 8192;
/// Bundles inside bundles deeper than this make the packet malformed.
inline constexpr int kMaxOscBundleDepth = 4;

struct OscArgument {
  enum class Type : std::uint8_t { kInt, kFloat, kString, kOther };
  Type type = Type::kOther;
  double number = 0;  ///< kInt and kFloat (64-bit ones too; true and false as 1 and 0)
  std::string text;   ///< kString (symbols too); kOther: the type tag

  [[nodiscard]] static OscArgument Int(std::int32_t value) { return {Type::kInt, double(value), {}}; }
  [[nodiscard]] static OscArgument Float(double value) { return {Type::kFloat, value, {}}; }
  [[nodiscard]] static OscArgument String(std::string value) { return {Type::kString, 0, std::move(value)}; }
  [[nodiscard]] bool IsNumber() const { return type == Type::kInt || type == Type::kFloat; }
  friend bool operator==(const OscArgument&, const OscArgument&) = default;
};

struct OscMessage {
  std::string address;
  std::vector<OscArgument> arguments;
  friend bool operator==(const OscMessage&, const OscMessage&) = default;
};

/// The messages of a packet in the order they are to apply (a bundle's in
/// its order, nested ones in place); none when any part is malformed or the
/// packet is larger than kMaxOscPacket.
[[nodiscard]] std::optional<std::vector<OscMessage>> DecodeOscPacket(std::span<const std::uint8_t> packet);

/// The packet of one message; kInt as int32, kFloat as float32, kString as string.
[[nodiscard]] std::vector<std::uint8_t> EncodeOscMessage(const OscMessage& message);

/// A bundle (time tag "immediately") of already encoded elements.
[[nodiscard]] std::vector<std::uint8_t> EncodeOscBundle(const std::vector<std::vector<std::uint8_t>>& elements);

}  // namespace rmt4
