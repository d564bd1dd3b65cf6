#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {
namespace {

// The defaults written out per block offset, independently of the run lists
// the implementation is built from.
std::map<int, int> InputBlockDefaults() {
  std::map<int, int> d{{0, 12},  {1, 120},  {2, 0},     {3, 100},   {4, 0},     {11, 1300}, {12, 1300},
                       {13, 32768}, {14, 32768}, {15, 1200}, {16, 1200}, {17, 0},  {18, 10},   {19, 10},
                       {20, 80},  {21, 500},  {22, 1},    {23, 20},   {24, 32768}, {25, 21},  {26, 20600}};
  for (int send = 5; send <= 10; ++send) d[send] = 1200;
  const std::array<int, 4> frequencies{33571, 630, 1000, 6000};
  for (int t = 0; t < 4; ++t) {
    d[27 + 4 * t] = 7;
    d[28 + 4 * t] = frequencies[static_cast<std::size_t>(t)];
    d[29 + 4 * t] = 500;
    d[30 + 4 * t] = 100;
  }
  return d;
}

std::map<int, int> BusBlockDefaults(int fader) {
  std::map<int, int> d{{0, fader}, {1, 1},  {2, 1},     {3, 0},  {4, 10},    {5, 10},  {6, 80}, {7, 500},
                       {8, 0},     {9, 0},  {10, 0},    {11, 1}, {12, 20},   {13, 32768}, {14, 21}, {15, 20600}};
  const std::array<int, 13> frequencies{32973, 33087, 33274, 33571, 125, 198, 315, 490, 721, 1240, 1920, 3050, 4940};
  for (int t = 0; t < 13; ++t) {
    d[16 + 4 * t] = 7;
    d[17 + 4 * t] = frequencies[static_cast<std::size_t>(t)];
    d[18 + 4 * t] = 500;
    d[19 + 4 * t] = 100;
  }
  return d;
}

std::map<int, int> ExpectedDefaults() {
  std::map<int, int> expected{{0, 20024}, {26, 1}, {27, 1}, {40, 17}, {41, 17}};
  auto place = [&](int base, const std::map<int, int>& block) {
    for (auto [offset, value] : block) expected[base + offset] = value;
  };
  for (int block = 0; block < 12; ++block) place(46 + 43 * block, InputBlockDefaults());
  for (int aux = 0; aux < 6; ++aux) place(562 + 68 * aux, BusBlockDefaults(0));
  place(970, BusBlockDefaults(933));
  place(1038, BusBlockDefaults(933));

  // MAIN extras, the two effect returns and engines, in address order from 1106.
  std::vector<int> extras{100, 1100, 64, 32960, 0, 1, 1, 33968, 33968, 33968, 33968, 33968, 33968,
                          1200, 1200, 1, 20, 32768, 21, 20600};
  auto bands = [&] {
    for (int f : {33571, 630, 1000, 6000}) extras.insert(extras.end(), {7, f, 500, 100});
  };
  bands();
  extras.insert(extras.end(), {1, 0, 78, 10, 0, 0, 1, 1, 33968, 33968, 33968, 33968, 33968, 33968, 1200, 1200,
                               1, 20, 32768, 21, 20600});
  bands();
  extras.insert(extras.end(), {17, 0, 78, 10, 0, 100, 100, 30, 100, 30, 100, 30, 100, 30, 100, 30, 0, 1, 1, 0, 0, 0});
  EXPECT_EQ(extras.size(), 95u) << "1106..1200";
  for (std::size_t i = 0; i < extras.size(); ++i) expected[1106 + static_cast<int>(i)] = extras[i];

  const std::vector<int> system{18, 13398, 0, 1, 1, 1, 1000, 6, 1, 1, 65280, 3, 0, 20024};
  for (std::size_t i = 0; i < system.size(); ++i) expected[1201 + static_cast<int>(i)] = system[i];

  const std::vector<std::pair<int, int>> factory{
      {0, 78},  {0, 78},  {0, 78},  {0, 78},  {0, 78},  {30, 50}, {30, 50}, {30, 50}, {30, 50}, {30, 50}, {78, 50},
      {35, 50}, {25, 50}, {35, 50}, {35, 50}, {35, 50}, {0, 78},  {0, 78},  {0, 78},  {0, 78},  {0, 78},  {30, 50},
      {30, 50}, {30, 50}, {30, 50}, {70, 50}, {78, 50}, {25, 50}, {35, 50}, {30, 50}, {35, 50}, {30, 50}};
  for (int r = 0; r < 72; ++r) {
    const int at = 1215 + 5 * r;
    if (r < 32) {
      expected[at] = r + 1;
      expected[at + 1] = factory[static_cast<std::size_t>(r)].first;
      expected[at + 2] = factory[static_cast<std::size_t>(r)].second;
    } else {
      expected[at] = r < 52 ? 1 : 17;
      expected[at + 1] = 0;
      expected[at + 2] = 78;
    }
  }
  return expected;
}

TEST(DefaultValues, EveryAddressHoldsItsDefault) {
  const auto expected = ExpectedDefaults();
  for (int a = 0; a < static_cast<int>(kParamCount); ++a) {
    const auto it = expected.find(a);
    const int want = it == expected.end() ? 0 : it->second;
    EXPECT_EQ(DefaultValue(static_cast<ParamAddress>(a)), want) << "address " << a;
  }
  EXPECT_EQ(DefaultValue(1574), 0) << "outside the table";
}

TEST(DefaultValues, TellingAddressesOfAFreshStart) {
  EXPECT_EQ(DefaultValue(0), 20024);
  EXPECT_EQ(DefaultValue(1108), 64);
  EXPECT_EQ(DefaultValue(970), 933) << "MAIN fader at -26.7 dB";
  EXPECT_EQ(DefaultValue(1038), 933);
  EXPECT_EQ(DefaultValue(972), 1);
  EXPECT_EQ(DefaultValue(1040), 1);
  EXPECT_EQ(DefaultValue(1202), 13398);
  EXPECT_EQ(DefaultValue(1212), 3);
  EXPECT_EQ(DefaultValue(1570), 17) << "the last, four-word record";
  EXPECT_EQ(DefaultValue(1573), 0);
  for (int c = 0; c < 10; ++c) {
    EXPECT_EQ(DefaultValue(InputBlockBase(c) + 4), 0) << "every input fader at - inf";
    EXPECT_EQ(DefaultValue(InputBlockBase(c) + 22), 1) << "every EQ button pressed";
  }
  // Band 1 in tenths of a hertz above 0x8000: 80.3 Hz; band 4 in hertz.
  EXPECT_EQ(DefaultValue(InputBlockBase(0) + 28) - 0x8000, 803);
  EXPECT_EQ(DefaultValue(InputBlockBase(0) + 40), 6000);
}

TEST(AddressMap, BlockBases) {
  EXPECT_EQ(InputBlockBase(0), 46);
  EXPECT_EQ(InputBlockBase(2) + 4, 136) << "CH3 fader";
  EXPECT_EQ(InputBlockBase(8), 390) << "ST9/10";
  EXPECT_EQ(InputBlockBase(9), 476) << "DIGTAL skips the hidden tenth block at 433";
  EXPECT_EQ(BusBlockBase(Bus::Aux1), 562);
  EXPECT_EQ(BusBlockBase(Bus::Aux6), 902);
  EXPECT_EQ(BusBlockBase(Bus::Aux6) + kBusBlockSize - 1, 969);
  EXPECT_EQ(BusBlockBase(Bus::Main), 970);
  EXPECT_EQ(BusBlockBase(Bus::Main) + 3, 973) << "MAIN left delay";
}

}  // namespace
}  // namespace rmt4
