// Each kind of value reads and types as one: a printed word types back to
// itself, and a measured kind takes exactly its stated range.
#include "values/value_kinds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <vector>

namespace rmt4 {
namespace {

std::string Typed(double value, std::string_view unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g%.*s", value, static_cast<int>(unit.size()), unit.data());
  return text;
}

TEST(ValueKinds, PrintedWordsTypeBackAndMeasuredRangesHoldAtTheirEdges) {
  const struct {
    std::string_view name;
    std::vector<std::uint16_t> words;
  } kinds[] = {
      {"addr.1109", {0, 0x80C0, 0xFFFF}},         {"ch1.fader", {0, 1, 1140, 1300}},
      {"ch1.send.aux1", {0, 0x8000, 1200, 0x8514}}, {"ch1.pan", {0, 99, 100, 200}},
      {"ch1.mute", {4, 5, 12, 13}},               {"st9.mute", {4, 12}},
      {"aux1.mute", {0, 1}},                      {"ch1.left", {0, 1300}},
      {"ch1.pfl", {0, 1300, 0x8000, 0x8514}},     {"aux1.phase", {0, 1}},
      {"ch1.eq", {0, 1}},                         {"ch1.gate", {0, 60, 120}},
      {"ch1.gain", {0, 31, 63}},                  {"ch1.delay", {0, 1, 999, 1000}},
      {"ch1.comp.attack", {0, 1, 1270}},          {"ch1.comp.threshold", {0, 1, 560}},
      {"ch1.comp.ratio", {10, 1000, 0x8028}},     {"ch1.hpf.type", {0, 8, 10, 24}},
      {"ch1.lpf.type", {0, 9, 11, 25}},           {"ch1.hpf.freq", {0x8000, 0x80C5, 101, 20600}},
      {"ch1.eq1.freq", {0x80C5, 100, 20600}},     {"ch1.eq1.gain", {260, 501, 620}},
      {"ch1.eq1.q", {40, 12800}},                 {"ch1.eq1.type", {5, 6, 7}},
      {"aux1.feedback", {0, 5}},                  {"fx1.program", {1, 16, 36}},
      {"fx2.program", {1, 16, 36}},               {"fx1.program.type", {0, 17, 36}},
      {"fx1.param1", {0, 135}},                   {"fx1.param2", {0, 100}},
      {"sys.pfl", {0, 0x0041, 0x00C0, 0x0301}},   {"sys.footswitch", {1, 2, 3}},
      {"sys.recorder", {0, 1}},                   {"sys.noisegate", {0, 327}},
      {"sys.mode", {0, 12}},
  };
  std::set<ValueKind> covered;
  for (const auto& kind : kinds) {
    const ParamAddress address = FindParam(kind.name).value_or(0);
    const ValueKindMeaning& meaning = MeaningOf(ParamAt(address).kind);
    covered.insert(meaning.kind);
    for (const std::uint16_t word : kind.words) {
      const std::string shown = FormatValue(address, word);
      const ParsedValue parsed = ParseValue(address, shown);
      ASSERT_TRUE(parsed.raw) << kind.name << " " << word << ": " << parsed.error;
      EXPECT_EQ(*parsed.raw & parsed.ownBits, word & parsed.ownBits) << kind.name << " '" << shown << "'";
    }
    if (!meaning.measured) continue;
    // Tenths are the finest step any measured kind is typed in.
    const UnitRange range = meaning.measured();
    for (const auto& [value, taken] : {std::pair{range.min, true}, {range.max, true}, {range.min - 0.1, false},
                                        {range.max + 0.1, false}}) {
      EXPECT_EQ(ParseValue(address, Typed(value, range.unit)).raw.has_value(), taken)
          << kind.name << " " << Typed(value, range.unit);
    }
  }
  EXPECT_EQ(covered.size(), static_cast<std::size_t>(ValueKind::kLast) + 1);
}

}  // namespace
}  // namespace rmt4
