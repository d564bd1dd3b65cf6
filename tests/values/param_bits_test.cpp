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
  EXPECT_EQ(FindBitParam("ch9.48v"), nullptr) << "st9 has no phantom power";
  EXPECT_EQ(FindBitParam("ch1.send.aux1.pre.linked"), nullptr);
  EXPECT_EQ(MatchBitParams("ch?.48v").size(), 8U);
  EXPECT_EQ(MatchBitParams("sys.pfl.*").size(), 9U);
}

TEST(ParamBits, ReadAndTypedInTheWordsOfTheirKind) {
  const struct {
    std::string_view name;
    std::string_view word;  // the word whose bits these are
    std::uint16_t mask;
    std::uint16_t raw;
    std::string_view reads;
    std::string_view typed;
    std::uint16_t written;
  } cases[] = {
      {"CH1.48V", "ch1.mute", 0x0001, 0x000D, "ON", "off", 0},
      {"ch8.48v", "ch8.mute", 0x0001, 0x0004, "OFF", "1", 0x0001},
      {"ch3.send.aux2.pre", "ch3.send.aux2", 0x8000, 1140, "post", "PRE", 0x8000},
      {"fx1.send.aux6.pre", "fx1.send.aux6", 0x8000, 0x8000 | 1140, "pre", "post", 0},
      {"ch2.comp", "ch2.comp.ratio", 0x8000, 0x8000 | 40, "off", "on", 0},
      {"aux3.comp", "aux3.comp.ratio", 0x8000, 40, "on", "off", 0x8000},
      {"sys.pfl.main", "sys.pfl", 0x0040, 0x00C1, "ON", "off", 0},
      {"sys.pfl.fx2", "sys.pfl", 0x0200, 0x0001, "OFF", "on", 0x0200},
  };
  for (const auto& c : cases) {
    const BitParam* bits = FindBitParam(c.name);
    ASSERT_NE(bits, nullptr) << c.name;
    EXPECT_EQ(bits->address, FindParam(c.word)) << c.name;
    EXPECT_EQ(bits->mask, c.mask) << c.name;
    EXPECT_EQ(FormatBits(*bits, c.raw), c.reads) << c.name;
    const ParsedValue parsed = ParseBits(*bits, c.typed);
    EXPECT_EQ(parsed.raw, c.written) << c.name;
    EXPECT_EQ(parsed.ownBits, c.mask) << c.name;
  }
  const ParsedValue refused = ParseBits(*FindBitParam("ch1.send.aux1.pre"), "on");
  EXPECT_FALSE(refused.raw.has_value());
  EXPECT_EQ(refused.error, "ch1.send.aux1.pre: not one of its words ('on'); it takes pre|post");
}

}  // namespace
}  // namespace rmt4
