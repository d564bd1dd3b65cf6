#include "protocol/param_table.h"

#include <gtest/gtest.h>

#include <array>

namespace rmt4 {
namespace {

constexpr std::array<ParamAddress, 10> kPflGroup{59, 102, 145, 188, 231, 274, 317, 360, 403, 489};

class ParamSetTest : public ::testing::Test {
 protected:
  // Nothing listened to and no flags, so each rule is seen on its own.
  void ClearPfl() {
    for (ParamAddress a : kPflGroup) table[a].Store(0);
    table[1108].Store(0);
    table.ClearReceivedAndDirty();
  }
  ParamTable table;
};

TEST_F(ParamSetTest, StoresAndMarksDirty) {
  ParamSet(table, 136, 1200);
  EXPECT_EQ(table.Value(136), 1200);
  EXPECT_TRUE(table[136].Dirty());
  EXPECT_FALSE(table[136].received);
}

TEST_F(ParamSetTest, MainFaderAndPhaseCopyToTheSecondMainBlock) {
  ParamSet(table, 970, 500);
  EXPECT_EQ(table.Value(1038), 500);
  EXPECT_TRUE(table[1038].Dirty());
  ParamSet(table, 972, 0);
  EXPECT_EQ(table.Value(1040), 0);
  EXPECT_TRUE(table[1040].Dirty());
  ParamSet(table, 971, 7);
  EXPECT_EQ(table.Value(1039), DefaultValue(1039)) << "only 970 and 972 are linked";
}

TEST_F(ParamSetTest, MainPflBitCarriesItsCompanion) {
  table[59].Store(1300);  // someone listens, so the fallback stays out of the way
  ParamSet(table, 1108, 0x0040);
  EXPECT_EQ(table.Value(1108), 0x00C0);
  ParamSet(table, 1108, 0x0080 | 0x0001);
  EXPECT_EQ(table.Value(1108), 0x0001) << "bit 7 without bit 6 is cleared";
  EXPECT_TRUE(table[1108].Dirty());
}

TEST_F(ParamSetTest, NothingListenedToFallsBackToMain) {
  ClearPfl();
  ParamSet(table, 1108, 0x0080);
  EXPECT_EQ(table.Value(1108), 0x00C0);
  EXPECT_TRUE(table[1108].received) << "the main window must show it";

  ClearPfl();
  ParamSet(table, 59, 0);
  EXPECT_EQ(table.Value(1108), 0x00C0);
  EXPECT_TRUE(table[1108].received);
  EXPECT_FALSE(table[1108].Dirty()) << "the fallback is shown, not written";
  EXPECT_TRUE(table[59].Dirty());
}

TEST_F(ParamSetTest, FallbackOnlyWhenTrulyNothingIsListenedTo) {
  ClearPfl();
  table[1108].Store(0x0001);  // AUX1 in PFL
  ParamSet(table, 59, 0);
  EXPECT_EQ(table.Value(1108), 0x0001);
  EXPECT_FALSE(table[1108].received);

  ClearPfl();
  table[489].Store(0x8000 | 1300);  // DIGTAL listens
  ParamSet(table, 59, 0);
  EXPECT_EQ(table.Value(1108), 0);

  ClearPfl();
  table[489].Store(0x8000);  // only the kept flag bit: nobody listens
  ParamSet(table, 59, 0);
  EXPECT_EQ(table.Value(1108), 0x00C0);

  ClearPfl();
  ParamSet(table, 60, 0);  // not a group address
  EXPECT_EQ(table.Value(1108), 0);
}

TEST(ParamTable, ANewConnectionNamesTheEditsItDrops) {
  ParamTable table;
  ParamSet(table, 136, 5);
  ParamSet(table, 970, 1);  // and its linked copy
  table[200].received.store(true);
  EXPECT_EQ(table.ClearReceivedAndDirty(), (std::vector<ParamAddress>{136, 970, 1038}));
  EXPECT_FALSE(table[136].Dirty());
  EXPECT_FALSE(table[200].received);
  EXPECT_TRUE(table.ClearReceivedAndDirty().empty()) << "nothing is dropped twice";
}

TEST(ParamTable, LoadDefaultsClearsEveryFlag) {
  ParamTable table;
  EXPECT_EQ(table.Value(0), 20024);
  ParamSet(table, 100, 5);
  table[200].received = true;
  table[300].rereadRequested = true;
  table[400].retryCount = 7;
  table.LoadDefaults();
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    ASSERT_EQ(table.Value(a), DefaultValue(a));
    ASSERT_FALSE(table[a].Dirty() || table[a].received || table[a].rereadRequested || table[a].retryCount != 0) << a;
  }
}

}  // namespace
}  // namespace rmt4
