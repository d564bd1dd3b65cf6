#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rmt4 {

/// CRC-16/MODBUS: initial value 0xFFFF, reflected polynomial 0xA001, no final
/// XOR. The console sends the result high byte first (unlike Modbus RTU).
[[nodiscard]] std::uint16_t Crc16(std::span<const std::uint8_t> bytes);

inline std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t count) {
  return Crc16(std::span<const std::uint8_t>(bytes, count));
}

}  // namespace rmt4
