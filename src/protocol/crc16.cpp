#include "protocol/crc16.h"

#include <array>

namespace rmt4 {
namespace {

// One table lookup per byte instead of eight shifts: the frame parser runs
// this over every candidate frame it finds in the stream.
constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    std::uint16_t crc = static_cast<std::uint16_t>(byte);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1u) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u)
                       : static_cast<std::uint16_t>(crc >> 1);
    }
    table[byte] = crc;
  }
  return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t byte : bytes) {
    crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[(crc ^ byte) & 0xFFu]);
  }
  return crc;
}

}  // namespace rmt4
