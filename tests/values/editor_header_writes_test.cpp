// What the channel editor frame's header writes, and its Copy.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "values/editor_codes.h"
#include "values/editor_header_writes.h"

namespace rmt4 {
namespace {

using namespace header_code;

/// The addresses an action changed, with their new values.
std::map<ParamAddress, std::uint16_t> Changes(ParamTable& table, const std::function<void()>& action) {
  std::vector<std::uint16_t> before(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) before[a] = table.Value(a);
  action();
  std::map<ParamAddress, std::uint16_t> changed;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (table.Value(a) != before[a]) changed[a] = table.Value(a);
  }
  return changed;
}

struct HeaderCase {
  const char* name;
  HeaderSelection selection;
  int code;
  int reading;
  std::map<ParamAddress, std::uint16_t> expected;
};

class HeaderWriteTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderWriteTest, WritesOnlyItsAddresses) {
  ParamTable table;  // defaults: switches 12, PFL words 32768, PFL bus 64, bus on 1, phase 1
  const HeaderCase& c = GetParam();
  EXPECT_EQ(Changes(table, [&] { WriteHeaderEdit(table, c.selection, c.code, c.reading); }), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, HeaderWriteTest,
    ::testing::Values(
        HeaderCase{"Ch1MuteLitClearsBit3", {0, 0, 0}, kInputMute, 1, {{46, 4}}},
        HeaderCase{"Fx1MuteLitWrites0", {10, 10, 0}, kInputMute, 1, {{1111, 0}}},
        HeaderCase{"Ch2PhantomOn", {1, 1, 0}, kPhantomPower, 1, {{89, 13}}},
        HeaderCase{"St910HasNoPhantom", {8, 8, 0}, kPhantomPower, 1, {}},
        HeaderCase{"Ch1PflKeepsBit15AndCompanion", {0, 0, 0}, kInputPfl, 1, {{59, 0x8000 | 1300}, {60, 0x8000 | 1300}}},
        HeaderCase{"Fx2PflSetsBit9", {11, 11, 0}, kInputPfl, 1, {{1108, 64 | 128 | 0x200}}},
        HeaderCase{"InputFader", {3, 3, 0}, kInputFader, 1200, {{179, 1200}}},
        HeaderCase{"Aux3PflSetsBit2Only", {15, 0, 3}, kOutputPfl, 1, {{1108, 64 | 128 | 0x04}}},
        HeaderCase{"MainPflSetsBits6And7", {12, 0, 0}, kOutputPfl, 1, {{1108, 64 | 128}}},
        HeaderCase{"Aux6MuteLit", {18, 0, 6}, kOutputMute, 1, {{904, 0}}},
        HeaderCase{"MainFaderAndItsCopy", {12, 0, 0}, kOutputFader, 1100, {{970, 1100}, {1038, 1100}}},
        HeaderCase{"Ch1LeftLitWrites0", {0, 0, 0}, kLeft, 1, {{57, 0}}},
        HeaderCase{"Aux2RightUnlitWritesItsRouting", {14, 0, 2}, kRight, 0, {{640, 1300}}},
        HeaderCase{"Ch5Balance", {4, 4, 0}, kBalance, 150, {{221, 150}}},
        HeaderCase{"MainBalance", {12, 0, 0}, kBalance, 40, {{1106, 40}}},
        HeaderCase{"Aux1PhaseUnlit", {13, 0, 1}, kPhase, 0, {{563, 0}}},
        HeaderCase{"Fx1HasNoBalance", {10, 10, 0}, kBalance, 40, {}},
        HeaderCase{"MainHasNoLeft", {12, 0, 0}, kLeft, 0, {}}),
    [](const ::testing::TestParamInfo<HeaderCase>& param) { return std::string(param.param.name); });

TEST(CopyChannelBlock, WritesOnlyDifferingAddressesAndNeverOntoItself) {
  ParamTable table;
  ParamSet(table, 46 + 43 * 2 + 4, 1000);  // CH3 fader
  ParamSet(table, 46 + 43 * 2 + 29, 560);  // CH3 band 1 gain
  EXPECT_EQ(CopyChannelBlock(table, 2, 2), 0);
  table[46 + 4].ClearDirty();
  EXPECT_EQ(Changes(table, [&] { EXPECT_EQ(CopyChannelBlock(table, 2, 0), 2); }),
            (std::map<ParamAddress, std::uint16_t>{{50, 1000}, {75, 560}}));
  EXPECT_FALSE(table[47].Dirty()) << "an equal address is not written";
  EXPECT_EQ(CopyChannelBlock(table, 2, 8), 0) << "ST9/10 takes no copy";
}

}  // namespace
}  // namespace rmt4
