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
      {"fx1.send.aux6.pre", "fx1.send.aux6", 0x8000, 0x8000 | 1140, "pre", "post", 0},
      {"aux3.comp", "aux3.comp.ratio", 0x8000, 40, "on", "off", 0x8000},
      {"sys.pfl.main", "sys.pfl", 0x0040, 0x00C1, "ON", "off", 0},
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
  EXPECT_FALSE(ParseBits(*FindBitParam("ch1.send.aux1.pre"), "on").raw.has_value());
}

}  // namespace
}  // namespace rmt4
