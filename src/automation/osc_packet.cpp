#include "automation/osc_packet.h"

#include <lo/lo_lowlevel.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace rmt4 {
namespace {

constexpr std::string_view kBundleHead{"#bundle\0", 8};
constexpr std::size_t kTimeTagSize = 8;

struct MessageFree {
  void operator()(lo_message message) const { lo_message_free(message); }
};
using OwnedMessage = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

std::uint32_t BigEndian32(const std::uint8_t* at) {
  return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

void WriteBigEndian32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

/// The number of type `Number` at `at`; liblo's arguments sit at 4-byte
/// boundaries, so eight-byte ones are copied out rather than read in place.
template <typename Number>
Number Read(const void* at) {
  Number number;
  std::memcpy(&number, at, sizeof number);
  return number;
}

OscArgument ArgumentOf(char type, const void* at) {
  switch (type) {
    case LO_INT32:
      return {OscArgument::Type::kInt, double(Read<std::int32_t>(at)), {}};
    case LO_INT64:
      return {OscArgument::Type::kInt, double(Read<std::int64_t>(at)), {}};
    case LO_TRUE:
      return {OscArgument::Type::kInt, 1, {}};
    case LO_FALSE:
      return {OscArgument::Type::kInt, 0, {}};
    case LO_FLOAT:
      return {OscArgument::Type::kFloat, double(Read<float>(at)), {}};
    case LO_DOUBLE:
      return {OscArgument::Type::kFloat, Read<double>(at), {}};
    case LO_STRING:
    case LO_SYMBOL:
      return OscArgument::String(static_cast<const char*>(at));
    default:
      return {OscArgument::Type::kOther, 0, std::string(1, type)};
  }
}

std::optional<OscMessage> DecodeMessage(std::span<const std::uint8_t> bytes) {
  // liblo checks the padding, the type tags and that every argument fits.
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  int result = 0;
  const OwnedMessage message(lo_message_deserialise(copy.data(), copy.size(), &result));
  if (!message || result != 0) return std::nullopt;
  const char* path = lo_get_path(copy.data(), static_cast<ssize_t>(copy.size()));
  if (path == nullptr) return std::nullopt;
  OscMessage decoded{path, {}};
  const char* types = lo_message_get_types(message.get());
  lo_arg** values = lo_message_get_argv(message.get());
  const int count = lo_message_get_argc(message.get());
  for (int i = 0; i < count; ++i) decoded.arguments.push_back(ArgumentOf(types[i], values[i]));
  return decoded;
}

bool DecodeInto(std::span<const std::uint8_t> bytes, int depth, std::vector<OscMessage>& messages) {
  if (bytes.empty()) return false;
  if (bytes.front() == '/') {
    auto message = DecodeMessage(bytes);
    if (!message) return false;
    messages.push_back(std::move(*message));
    return true;
  }
  const bool bundle = bytes.size() >= kBundleHead.size() + kTimeTagSize &&
                      std::memcmp(bytes.data(), kBundleHead.data(), kBundleHead.size()) == 0;
  if (!bundle || depth >= kMaxOscBundleDepth) return false;
  std::size_t at = kBundleHead.size() + kTimeTagSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < 4) return false;
    const std::uint32_t size = BigEndian32(bytes.data() + at);
    at += 4;
    if (size == 0 || size % 4 != 0 || size > bytes.size() - at) return false;
    if (!DecodeInto(bytes.subspan(at, size), depth + 1, messages)) return false;
    at += size;
  }
  return true;
}

}  // namespace

std::optional<std::vector<OscMessage>> DecodeOscPacket(std::span<const std::uint8_t> packet) {
  if (packet.size() > kMaxOscPacket || packet.size() % 4 != 0) return std::nullopt;
  std::vector<OscMessage> messages;
  if (!DecodeInto(packet, 0, messages)) return std::nullopt;
  return messages;
}

std::vector<std::uint8_t> EncodeOscMessage(const OscMessage& message) {
  const OwnedMessage encoded(lo_message_new());
  for (const OscArgument& argument : message.arguments) {
    switch (argument.type) {
      case OscArgument::Type::kInt:
        lo_message_add_int32(encoded.get(), static_cast<std::int32_t>(argument.number));
        break;
      case OscArgument::Type::kFloat:
        lo_message_add_float(encoded.get(), static_cast<float>(argument.number));
        break;
      case OscArgument::Type::kString:
        lo_message_add_string(encoded.get(), argument.text.c_str());
        break;
      case OscArgument::Type::kOther:
        lo_message_add_nil(encoded.get());
        break;
    }
  }
  std::size_t size = 0;
  void* bytes = lo_message_serialise(encoded.get(), message.address.c_str(), nullptr, &size);
  if (bytes == nullptr) return {};
  const auto* begin = static_cast<const std::uint8_t*>(bytes);
  std::vector<std::uint8_t> packet(begin, begin + size);
  std::free(bytes);
  return packet;
}

std::vector<std::uint8_t> EncodeOscBundle(const std::vector<std::vector<std::uint8_t>>& elements) {
  std::size_t size = kBundleHead.size() + kTimeTagSize;
  for (const auto& element : elements) size += 4 + element.size();
  // The head, the time tag 1 ("immediately"), then each element after its size.
  std::vector<std::uint8_t> packet(size, 0);
  std::memcpy(packet.data(), kBundleHead.data(), kBundleHead.size());
  packet[kBundleHead.size() + kTimeTagSize - 1] = 1;
  std::size_t at = kBundleHead.size() + kTimeTagSize;
  for (const auto& element : elements) {
    WriteBigEndian32(packet.data() + at, static_cast<std::uint32_t>(element.size()));
    std::memcpy(packet.data() + at + 4, element.data(), element.size());
    at += 4 + element.size();
  }
  return packet;
}

}  // namespace rmt4
