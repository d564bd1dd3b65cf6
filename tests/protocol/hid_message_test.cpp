#include "protocol/hid_message.h"

#include <gtest/gtest.h>

#include <numeric>

#include "frame_test_support.h"

namespace rmt4 {
namespace {

using test::Bytes;

Bytes Data(const HidReport& report) { return Bytes(report.begin() + 1, report.end()); }

Bytes Counting(std::size_t count) {
  Bytes bytes(count);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  return bytes;
}

TEST(HidMessage, ShortFrameIsOneZeroFilledReport) {
  const Bytes frame{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5};
  const auto reports = WrapHidMessage(frame);
  ASSERT_EQ(reports.size(), 1u);
  Bytes expected{0x00, 0xAE, 0x1E, 0x00, 0x07, 0xC8};
  expected.insert(expected.end(), frame.begin(), frame.end());
  expected.resize(kHidReportBytes, 0);
  EXPECT_EQ(Bytes(reports[0].begin(), reports[0].end()), expected);
}

TEST(HidMessage, LongFrameSpansReportsAndReassembles) {
  const Bytes frame = Counting(100);
  const auto reports = WrapHidMessage(frame);
  ASSERT_EQ(reports.size(), 2u);  // 105 message bytes: 64 + 41
  EXPECT_EQ(reports[0][0], 0);
  EXPECT_EQ(reports[1][0], 0);
  EXPECT_TRUE(std::all_of(reports[1].begin() + 1 + 41, reports[1].end(), [](auto b) { return b == 0; }));

  HidReassembler reassembler;
  EXPECT_FALSE(reassembler.Feed(Data(reports[0])));
  const auto delivered = reassembler.Feed(Data(reports[1]));
  ASSERT_TRUE(delivered);
  EXPECT_EQ(Bytes(delivered->begin(), delivered->end()), frame);

  // An unrelated continuation after delivery is ignored until the next start.
  HidReport stray{};
  stray[1] = 0x42;
  EXPECT_FALSE(reassembler.Feed(Data(stray)));

  const auto again = WrapHidMessage(Bytes{1, 2, 3});
  const auto next = reassembler.Feed(Data(again[0]));
  ASSERT_TRUE(next);
  EXPECT_EQ(Bytes(next->begin(), next->end()), (Bytes{1, 2, 3}));
}

TEST(HidMessage, RoundTripsEveryFrameLength) {
  for (std::size_t length = 5; length <= 257; ++length) {
    const Bytes frame = Counting(length);
    HidReassembler reassembler;
    std::optional<std::span<const std::uint8_t>> delivered;
    int deliveries = 0;
    for (const HidReport& report : WrapHidMessage(frame)) {
      if (auto piece = reassembler.Feed(Data(report))) {
        delivered = piece;
        ++deliveries;
        ASSERT_EQ(Bytes(piece->begin(), piece->end()), frame) << "length " << length;
      }
    }
    EXPECT_EQ(deliveries, 1) << "length " << length;
  }
}

TEST(HidMessage, ContinuationWithoutStartIsNeverDelivered) {
  HidReassembler reassembler;
  HidReport continuation{};
  continuation.fill(0x80);
  for (int i = 0; i < 40; ++i) EXPECT_FALSE(reassembler.Feed(Data(continuation)));
}

TEST(HidMessage, OversizedAnnouncementsAndReportsStayInBounds) {
  HidReassembler reassembler;
  // Announces 65535 bytes: the fill position wraps at 960 and never reaches it.
  Bytes start{0xAE, 0x1E, 0xFF, 0xFF, 0xC8};
  start.resize(64, 0x11);
  EXPECT_FALSE(reassembler.Feed(start));
  const Bytes oversized(500, 0x22);  // more than a report can carry
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(reassembler.Feed(oversized));
  EXPECT_FALSE(reassembler.Feed(Bytes{}));
}

}  // namespace
}  // namespace rmt4
