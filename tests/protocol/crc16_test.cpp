#include "protocol/crc16.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace rmt4 {
namespace {

// Straight from the definition, bit by bit, as an independent reference for
// the table-driven implementation.
std::uint16_t BitwiseCrc(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
  }
  return crc;
}

TEST(Crc16, PublishedCheckValueAndWorkedFrame) {
  constexpr std::string_view kCheck = "123456789";
  std::vector<std::uint8_t> text(kCheck.begin(), kCheck.end());
  EXPECT_EQ(Crc16(text), 0x4B37);

  const std::vector<std::uint8_t> readAddressZero{0x80, 0x05, 0x06, 0x00, 0x00};
  EXPECT_EQ(Crc16(readAddressZero), 0x13C5);
}

TEST(Crc16, EmptyInputIsTheInitialValue) {
  EXPECT_EQ(Crc16(std::span<const std::uint8_t>{}), 0xFFFF);
}

TEST(Crc16, TableMatchesBitwiseDefinitionForEveryByteAndLength) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 600; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(i * 37 + (i >> 3)));
    ASSERT_EQ(Crc16(bytes), BitwiseCrc(bytes)) << "length " << bytes.size();
  }
}

}  // namespace
}  // namespace rmt4
