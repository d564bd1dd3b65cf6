// Bit names: one name for each thing a packed word holds, reading and typing only its bits.
#include "values/param_bits.h"

#include <gtest/gtest.h>

#include <set>

namespace rmt4 {
namespace {

TEST(ParamBits, EachNameIsOneThingOfOneWordAndNoWordsName) {
  std::set<std::string> names;
  for (const BitParam& bits : BitParams()) {
    EXPECT_TRUE(names.insert(bits.name).second) << "twice: " << bits.name;
    EXPECT_FALSE(FindParam(bits.name).has_value()) << bits.name << " is also a word's name";
    EXPECT_EQ(FindBitParam(bits.name), &bits);
  }
  EXPECT_EQ(MatchBitParams("*.48v").size(), 8U) << "only CH1..CH8 have phantom power";
  // The console's bit 7 follows MAIN: it neither reads nor is written as another bus.
  const BitParam& pflMain = *FindBitParam("SYS.PFL.MAIN");
  EXPECT_EQ(FormatBits(pflMain, 0x0081), "OFF");
  EXPECT_EQ(ParseBits(pflMain, "off").ownBits, 0x0040);
}

}  // namespace
}  // namespace rmt4
