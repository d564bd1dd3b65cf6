#include "protocol/batch_builder.h"

#include <gtest/gtest.h>

#include <numeric>

#include "frame_test_support.h"

namespace rmt4 {
namespace {

using test::RecordingSender;

std::vector<int> Range(int first, int last) {
  std::vector<int> v(static_cast<std::size_t>(last - first + 1));
  std::iota(v.begin(), v.end(), first);
  return v;
}

class BatchBuilderTest : public ::testing::Test {
 protected:
  BatchBuilderTest() { table.ClearReceivedAndDirty(); }
  const RecordingSender::Sent& Last() { return sender.sent.back(); }

  ParamTable table;
  RecordingSender sender;
  std::vector<ParamAddress> givenUp;
  BatchBuilder builder{table, sender, [this](ParamAddress a) { givenUp.push_back(a); }};
};

TEST_F(BatchBuilderTest, WriteBatchesTakeTwentyFourAndContinueAtTheCursor) {
  for (ParamAddress a = 100; a <= 129; ++a) ParamSet(table, a, a);
  builder.BuildWriteBatch(kContinue, kMaxWriteEntries);
  EXPECT_EQ(Last().command, Command::WriteParams);
  EXPECT_EQ(RecordingSender::Addresses(Last()), Range(100, 123));
  EXPECT_EQ(builder.writeCursor(), 124);

  for (ParamAddress a = 100; a <= 123; ++a) table[a].ClearDirty();  // the console's echo
  builder.BuildWriteBatch(kContinue, kMaxWriteEntries);
  EXPECT_EQ(RecordingSender::Addresses(Last()), Range(124, 129));
  // The values go out with the addresses.
  EXPECT_EQ(Last().payload[2] << 8 | Last().payload[3], 124);
}

TEST_F(BatchBuilderTest, WriteBatchWrapsAroundTheTable) {
  ParamSet(table, 1573, 1);
  ParamSet(table, 3, 2);
  builder.BuildWriteBatch(1500, kMaxWriteEntries);
  EXPECT_EQ(RecordingSender::Addresses(Last()), (std::vector<int>{1573, 3}));
}

TEST_F(BatchBuilderTest, UnacknowledgedValueIsGivenUpAfterElevenSends) {
  ParamSet(table, 300, 9);
  int sends = 0;
  for (int cycle = 0; cycle < 20; ++cycle) {
    builder.BuildWriteBatch(0, kMaxWriteEntries);
    const auto addresses = RecordingSender::Addresses(Last());
    sends += static_cast<int>(std::count(addresses.begin(), addresses.end(), 300));
  }
  EXPECT_EQ(sends, 11);
  EXPECT_FALSE(table[300].Dirty());
  EXPECT_EQ(table[300].retryCount, 0);
  EXPECT_EQ(givenUp, std::vector<ParamAddress>{300}) << "reported once";
}

TEST_F(BatchBuilderTest, AnEditMadeAfterTheLastSendIsNotGivenUpWithIt) {
  ParamSet(table, 300, 9);
  table[300].retryCount = 10;  // the next send is the last one for value 9
  builder.BuildWriteBatch(0, kMaxWriteEntries);
  EXPECT_FALSE(table[300].Dirty());

  ParamSet(table, 300, 4);
  table[300].retryCount = 10;
  const std::uint32_t taken = table[300].Snapshot();
  ParamSet(table, 300, 4);  // the same value again, edited after it was taken
  EXPECT_FALSE(table[300].ClearDirtyIfUnchanged(taken));
  EXPECT_TRUE(table[300].Dirty());
  EXPECT_TRUE(table[300].Acknowledge(4)) << "its own echo still settles it";
}

TEST_F(BatchBuilderTest, ModeNameRequestTakesThePlaceOfTheWrite) {
  ParamSet(table, 1200, 1);
  table[1205].Store(0x0503);
  table[1205].MarkDirty();
  for (int cycle = 0; cycle < 3; ++cycle) {
    builder.BuildWriteBatch(1200, kMaxWriteEntries);
    ASSERT_EQ(Last().command, Command::ReadModeName);
    EXPECT_EQ(Last().payload, test::Bytes{3});
    EXPECT_TRUE(table[1205].Dirty());
    EXPECT_TRUE(table[1200].Dirty()) << "entries collected before it are not sent and stay dirty";
    EXPECT_EQ(builder.writeCursor(), 1205);
  }
  EXPECT_EQ(sender.sent.size(), 3u);
}

TEST_F(BatchBuilderTest, UnansweredModeNameRequestDoesNotBlockOtherWritesForEver) {
  ParamSet(table, 100, 1);
  table[1205].Store(0x0500 | 77);  // a mode the console does not have
  table[1205].MarkDirty();
  int requests = 0;
  for (int cycle = 0; cycle < 20 && table[1205].Dirty(); ++cycle) {
    builder.BuildWriteBatch(1205, kMaxWriteEntries);
    requests += Last().command == Command::ReadModeName ? 1 : 0;
  }
  EXPECT_EQ(requests, 11) << "asked as often as an unacknowledged write is sent";
  EXPECT_FALSE(table[1205].Dirty());
  builder.BuildWriteBatch(0, kMaxWriteEntries);
  EXPECT_EQ(RecordingSender::Addresses(Last()), std::vector<int>{100});
}

TEST_F(BatchBuilderTest, NothingDirtySendsAnEmptyWrite) {
  builder.BuildWriteBatch(0, kMaxWriteEntries);
  EXPECT_EQ(Last().command, Command::WriteParams);
  EXPECT_TRUE(Last().payload.empty());
}

TEST_F(BatchBuilderTest, MissingReadStopsAtFiftyBytesAndLeavesTheCursorOnTheLast) {
  builder.BuildMissingReadBatch(kContinue, 32);
  EXPECT_EQ(Last().command, Command::ReadParams);
  EXPECT_EQ(RecordingSender::Addresses(Last()), Range(0, 24));
  EXPECT_EQ(builder.readCursor(), 24);
  EXPECT_EQ(table[23].retryCount, 1);
  EXPECT_EQ(table[24].retryCount, 0) << "the last one is counted when it is sent again";

  builder.BuildMissingReadBatch(kContinue, 32);
  EXPECT_EQ(RecordingSender::Addresses(Last()), Range(24, 48));
}

TEST_F(BatchBuilderTest, MissingReadSkipsReceivedAndHonoursTheEntryLimit) {
  for (ParamAddress a = 0; a < kParamCount; ++a) table[a].received = true;
  table[10].received = false;
  table[1000].received = false;
  table[1500].received = false;
  builder.BuildMissingReadBatch(0, 2);
  EXPECT_EQ(RecordingSender::Addresses(Last()), (std::vector<int>{10, 1000}));
  EXPECT_EQ(builder.readCursor(), 1000);

  const auto before = sender.sent.size();
  builder.BuildMissingReadBatch(0, 0);
  EXPECT_EQ(sender.sent.size(), before) << "a limit of zero sends nothing";
}

TEST_F(BatchBuilderTest, RereadTakesAtMostTwentyFourAndKeepsTheFlags) {
  for (ParamAddress a = 1142; a < 1142 + 30; ++a) table[a].rereadRequested = true;
  builder.BuildRereadBatch(1142);
  EXPECT_EQ(RecordingSender::Addresses(Last()), Range(1142, 1165));
  EXPECT_EQ(builder.rereadCursor(), 1165);
  EXPECT_TRUE(table[1142].rereadRequested) << "only a value reply clears the request";
}

}  // namespace
}  // namespace rmt4
