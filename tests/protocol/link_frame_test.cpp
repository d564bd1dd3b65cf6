#include "protocol/link_frame.h"

#include <gtest/gtest.h>

#include "frame_test_support.h"
#include "protocol/crc16.h"

namespace rmt4 {
namespace {

using test::Bytes;
using test::Frame;

TEST(LinkFrame, WorkedFramesMatchTheWireFormat) {
  // Reading address 0.
  EXPECT_EQ(Frame(Command::ReadParams, {0x00, 0x00}), (Bytes{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5}));

  // Writing 1 to address 1206: seven bytes, then their CRC high byte first.
  const Bytes keepAlive = Frame(Command::WriteParams, test::Entries({{1206, 1}}));
  const Bytes head{0x80, 0x07, 0x03, 0x04, 0xB6, 0x00, 0x01};
  ASSERT_EQ(keepAlive.size(), 9u);
  EXPECT_EQ(Bytes(keepAlive.begin(), keepAlive.begin() + 7), head);
  const std::uint16_t crc = Crc16(head);
  EXPECT_EQ(keepAlive[7], crc >> 8);
  EXPECT_EQ(keepAlive[8], crc & 0xFF);
}

TEST(LinkFrame, PayloadLimits) {
  EXPECT_EQ(Frame(Command::DumpAll, {}).size(), 5u) << "an empty payload is a 5-byte frame";
  EXPECT_EQ(Frame(Command::DumpAll, {})[1], 3);

  const Bytes longest(LinkFrame::kMaxPayload, 0x55);
  const auto frame = LinkFrame::Build(Command::ModuleText, longest);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->Bytes().size(), 254u);
  EXPECT_EQ(frame->Bytes()[1], 252);
  EXPECT_FALSE(LinkFrame::Build(Command::ModuleText, Bytes(LinkFrame::kMaxPayload + 1, 0x55)));
}

TEST(LinkFrame, CheckAcceptsOnlyWholeFramesWithTheRightCrc) {
  const Bytes good = Frame(Command::ReadParams, test::Entries({{1204, 3}}));
  const auto view = CheckFrame(good);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->command, 6);
  EXPECT_EQ(Bytes(view->payload.begin(), view->payload.end()), (Bytes{0x04, 0xB4, 0x00, 0x03}));

  Bytes badCrc = good;
  badCrc.back() ^= 0x01;
  EXPECT_FALSE(CheckFrame(badCrc));

  EXPECT_FALSE(CheckFrame(Bytes(good.begin(), good.end() - 1))) << "truncated";
  EXPECT_FALSE(CheckFrame(Bytes{0x81, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5})) << "wrong start byte";
}

TEST(LinkFrame, LengthsBelowThreeAreNeverFrames) {
  // Lengths 0..2 cannot hold a command byte; craft the CRC so only the length is wrong.
  for (std::uint8_t length = 0; length < 3; ++length) {
    Bytes bytes{0x80, length, 0x06, 0x00, 0x00, 0x00};
    const std::uint16_t crc = Crc16(bytes.data(), length);
    bytes[length] = static_cast<std::uint8_t>(crc >> 8);
    bytes[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
    EXPECT_FALSE(CheckFrame(bytes)) << "length " << int(length);
  }
}

TEST(LinkFrame, EntriesDecodeBigEndianAndIgnoreATrailingPart) {
  const Bytes payload{0x04, 0xB4, 0x00, 0x03, 0x00, 0x07, 0x12, 0x34, 0x00, 0x01, 0x02};
  std::vector<std::pair<int, int>> seen;
  ForEachParamEntry(std::span<const std::uint8_t>(payload),
                    [&](ParamEntryData e) { seen.emplace_back(e.address, e.value); });
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1204, 3}, {7, 0x1234}}));
}

}  // namespace
}  // namespace rmt4
