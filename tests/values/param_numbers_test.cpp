// Values as numbers mean what the same numbers typed as text mean, and a
// position 0..1 travels the range as its control does.
#include "values/param_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "values/level_table.h"
#include "values/value_kinds.h"

namespace rmt4 {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Typed(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", number);
  return text;
}

TEST(ParamNumbers, EachKindReadsAndWritesItsNumber) {
  const struct {
    std::string_view name;
    std::uint16_t raw;
    double number;
    bool whole;
    bool typedAlike;  ///< the same number typed as text gives the same word
  } cases[] = {
      {"addr.1109", 0x80C0, 0x80C0, true, true},
      {"ch3.fader", 1100, -10, false, true},
      {"ch3.fader", 0, -kInf, false, true},
      {"ch1.send.aux1", 0x8000 | 1140, -6, false, true},  // the pre flag is not the level's
      {"ch1.pan", 80, 80, true, true},
      {"ch1.mute", 5, 1, true, true},  // muted, 48V on: the number is the mute alone
      {"aux1.mute", 0, 1, true, true},
      {"ch1.left", 1300, 1, true, true},
      {"ch1.pfl", 0x8514, 1, true, true},
      {"ch1.eq", 1, 0, true, true},
      {"ch1.gate", 60, -60, false, true},
      {"ch1.gain", 48, 0, false, true},
      {"ch1.delay", 250, 2.5, false, true},
      {"ch1.comp.threshold", 450, -5, false, true},
      {"ch1.comp.ratio", 0x8000 | 80, 8, false, true},
      {"ch1.hpf.type", 22, 2, true, false},  // a choice by its index: Bessel-24dB
      {"ch1.hpf.freq", 0x8000, 0, false, false},  // off is 0 Hz
      {"ch1.hpf.freq", 0x8000 | 505, 50.5, false, true},
      {"ch1.eq1.freq", 1200, 1200, false, true},
      {"ch1.eq1.gain", 440, -6, false, true},
      {"ch1.eq1.q", 141, 1.41, false, true},
      {"ch1.eq1.type", 6, 1, true, false},
      {"aux1.feedback", 3, 3, true, true},
      {"fx1.program", 16, 16, true, true},
      {"sys.footswitch", 2, 1, true, false},
      {"sys.noisegate", 41, 41, true, true},
      {"sys.mode", 12, 12, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.raw));
    const ParamAddress address = *FindParam(c.name);
    const std::optional<ParamNumber> number = NumberOf(address, c.raw);
    ASSERT_TRUE(number);
    EXPECT_TRUE(number->value == c.number || std::abs(number->value - c.number) < 1e-9) << number->value;
    EXPECT_EQ(number->whole, c.whole);
    const ParsedValue written = ValueFromNumber(address, c.number);
    ASSERT_TRUE(written.raw) << written.error;
    EXPECT_EQ(*written.raw & written.ownBits, c.raw & written.ownBits);
    if (!c.typedAlike) continue;
    const ParsedValue typed = ParseValue(address, Typed(c.number));
    ASSERT_TRUE(typed.raw) << typed.error;
    EXPECT_EQ(*written.raw, *typed.raw);
    EXPECT_EQ(written.ownBits, typed.ownBits);
  }
}

TEST(ParamNumbers, RefusalsAreWordedAsTypedTextIsRefused) {
  const struct {
    std::string_view name;
    double number;
    std::string_view why;
  } cases[] = {
      {"ch3.fader", 20, "ch3.fader: out of range ('20'); it takes dB -120..10, -inf"},
      {"ch3.fader", kInf, "not a number"},
      {"ch3.fader", std::nan(""), "not a number"},
      {"ch1.eq1.freq", -kInf, "not a number"},
      {"ch1.pan", 201, "out of range"},
      {"ch1.pan", 2.5, "not a whole number"},
      {"ch1.hpf.type", 7, "out of range"},
      {"fx1.program", 0, "out of range"},
      {"sys.noisegate", 12, "not one of the selector's values"},
      {"fx1.param1", 3, "not a number it takes"},
      {"sys.pfl", 1, "not a number it takes"},
  };
  for (const auto& c : cases) {
    const ParsedValue refused = ValueFromNumber(*FindParam(c.name), c.number);
    EXPECT_FALSE(refused.raw) << c.name << " " << c.number;
    EXPECT_NE(refused.error.find(c.why), std::string::npos) << refused.error;
  }
  EXPECT_EQ(ValueFromNumber(*FindParam("ch3.fader"), 20).error, ParseValue(*FindParam("ch3.fader"), "20").error);
}

TEST(ParamNumbers, EveryStepOfARangeRoundTripsThroughItsPosition) {
  for (const ParamInfo& info : ParamCatalogue()) {
    const NumberMeaning& numbers = MeaningOf(info.kind).number;
    if (!numbers.stepOf || info.kind == ValueKind::kRaw) continue;
    const int top = numbers.top();
    for (int step = 0; step <= top; ++step) {
      const double position = static_cast<double>(step) / top;
      const ParsedValue word = ValueFromNormalised(info.address, position);
      ASSERT_TRUE(word.raw) << info.name << " " << step << ": " << word.error;
      const std::optional<double> back = NormalisedOf(info.address, *word.raw);
      ASSERT_TRUE(back) << info.name << " " << step;
      ASSERT_NEAR(*back, position, 1e-12) << info.name << " step " << step;
    }
  }
}

TEST(ParamNumbers, AFaderPositionFollowsTheLevelTable) {
  const ParamAddress fader = *FindParam("ch3.fader");
  EXPECT_EQ(ValueFromNormalised(fader, 0.5).raw, LevelAtStep(kStripFaderTop / 2)) << "not the dB midpoint";
  const ParsedValue send = ValueFromNormalised(*FindParam("ch1.send.aux1"), 1);
  EXPECT_EQ(send.ownBits, 0x7FFF) << "the send's pre flag stays the console's";
  for (const double outside : {-0.01, 1.01, std::nan("")}) EXPECT_FALSE(ValueFromNormalised(fader, outside).raw);
  EXPECT_FALSE(NormalisedOf(*FindParam("fx1.param1"), 3));
}

}  // namespace
}  // namespace rmt4
