// The named parameter catalogue: one name per address, and values in units
// that agree with the editors' conversions.
#include "values/param_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "named_param.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"

namespace rmt4 {
namespace {

TEST(ParamCatalogueNames, EveryAddressHasOneNameThatLeadsBackToIt) {
  std::set<std::string> names;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    const ParamInfo& info = ParamAt(a);
    EXPECT_EQ(info.address, a);
    EXPECT_TRUE(names.insert(info.name).second) << "twice: " << info.name;
    EXPECT_EQ(FindParam(info.name), a) << info.name;
  }
  EXPECT_EQ(names.size(), kParamCount);
}

TEST(ParamCatalogueNames, NamesSitOnTheAddressesOfTheMap) {
  const std::pair<std::string_view, ParamAddress> cases[] = {
      {"ch1.fader", 50},
      {"CH7.EQ2.Gain", 337},
      {"ch7.eq2.freq", 336},
      {"ch7.hpf.type", 327},
      {"ch1.mute", 46},
      {"ch1.pfl", 59},
      {"ch1.pfl.linked", 60},
      {"ch1.send.aux1", 51},
      {"ch1.send.fx2", 62},
      {"st9.pan", 393},
      {"dig.fader", 480},
      {"fx1.program", 26},
      {"fx2.program", 27},
      {"fx1.program.type", 1142},
      {"fx2.param2", 1181},
      {"fx2.send.main", 1156},
      {"fx2.send.main.linked", 1157},
      {"fx1.eq1.freq", 1127},
      {"aux4.mute", 768},
      {"aux6.eq13.q", 969},
      {"main.fader", 970},
      {"main.fader.linked", 1038},
      {"main.delay.left", 973},
      {"main.delay.right", 1041},
      {"main.balance", 1106},
      {"main.feedback", 978},
      {"sys.pfl", 1108},
      {"sys.noisegate", 1207},
      {"addr.433", 433},
      {"addr.1109", 1109},
  };
  for (const auto& [name, address] : cases) EXPECT_EQ(FindParam(name), address) << name;
  EXPECT_FALSE(FindParam("ch9.fader"));
  EXPECT_FALSE(FindParam("ch1.*"));
  EXPECT_EQ(ParamAt(Named("ch1.pfl")).companion, ParamAddress{60});
}

TEST(ParamCatalogueNames, PatternsMatchCaseInsensitively) {
  const std::pair<std::string_view, std::size_t> cases[] = {
      {"ch7.eq*", 17},     {"*.mute", 19},     {"ch?.fader", 8}, {"CH1.EQ?.Q", 4},
      {"aux*.eq13.*", 24}, {"*", kParamCount}, {"nothing*", 0},  {"ch1.fader", 1},
  };
  for (const auto& [pattern, count] : cases) EXPECT_EQ(MatchParams(pattern).size(), count) << pattern;
}

struct ValueCase {
  std::string_view name;
  std::string_view typed;
  std::uint16_t raw;
  std::string_view shown;
};

TEST(ParamCatalogueValues, RangeEndsReadAndTypeAsTheEditorsShowThem) {
  const ValueCase cases[] = {
      {"ch1.fader", "-inf", 0, "-inf"},
      {"ch1.fader", "10dB", 1300, "10.0 dB"},
      {"ch1.fader", "-6 dB", 1140, "-6.0 dB"},
      {"ch1.send.aux1", "-6dB pre", 0x8000 | 1140, "-6.0 dB pre"},
      {"ch1.send.aux1", "0dB", 1200, "0.0 dB post"},
      {"ch1.eq2.gain", "-24dB", 260, "-24.0 dB"},
      {"ch1.eq2.gain", "+12", 620, "12.0 dB"},
      {"ch1.eq1.freq", "19.7Hz", 0x8000 + 197, "19.7 Hz"},
      {"ch1.eq1.freq", "20.6kHz", 20600, "20.60 kHz"},
      {"ch7.eq2.freq", "1.2kHz", 1200, "1.20 kHz"},
      {"ch7.eq2.freq", "1234 hz", 1234, "1.234 kHz"},
      {"ch1.eq1.q", "0.4", 40, "0.40"},
      {"ch1.eq1.q", "128", 12800, "128.00"},
      {"ch1.hpf.freq", "off", kFilterOffRaw, "OFF"},
      {"ch1.hpf.freq", "20600Hz", 20600, "20.60 kHz"},
      {"ch1.hpf.type", "bessel-12DB", 10, "Bessel-12dB"},
      {"ch1.lpf.type", "Bessel-12dB", 11, "Bessel-12dB"},
      {"ch1.delay", "0ms", 0, "0.00 ms"},
      {"ch1.delay", "10ms", 1000, "10.00 ms"},
      {"ch1.comp.ratio", "1:1", 10, "1.0:1"},
      {"ch1.comp.ratio", "100:1", 1000, "100.0:1"},
      {"aux2.comp.ratio", "4:1 off", 0x8000 | 40, "4.0:1 off"},
      {"ch1.comp.threshold", "-50dBu", 0, "-50.0 dBu"},
      {"ch1.comp.threshold", "6", 560, "6.0 dBu"},
      {"ch1.comp.release", "127ms", 1270, "127.0 ms"},
      {"ch1.gate", "-120dB", 120, "-120 dB"},
      {"ch1.gate", "0", 0, "0 dB"},
      {"ch1.gain", "-32dB", 0, "-32.0 dB"},
      {"ch1.gain", "10dB", 63, "10.0 dB"},
      {"ch1.pan", "L100", 0, "L100"},
      {"ch1.pan", "c", 100, "C"},
      {"ch1.pan", "R100", 200, "R100"},
      {"ch1.mute", "on", 4, "ON"},
      {"ch1.mute", "OFF,48V", 13, "OFF 48V"},
      {"ch1.pfl", "on", 0x8514, "ON"},
      {"ch1.left", "on", 1300, "ON"},
      {"ch1.eq", "off", 1, "OFF"},
      {"aux4.mute", "on", 0, "ON"},
      {"aux4.feedback", "fb5", 5, "FB5"},
      {"fx1.program", "reverb hall", 1, "REVERB HALL"},
      {"fx2.program", "TAP DELAY", 16, "TAP DELAY"},
      {"fx1.program", "Ueser-20", 36, "Ueser-20"},
      {"fx2.program.type", "17", 17, "17 (REVERB HALL)"},
      {"fx1.param1", "135 (Echo Delay:675ms)", 135, "135"},
      {"fx2.param2", "100", 100, "100"},
      {"sys.pfl", "AUX1 main", 65, "AUX1 MAIN"},
      {"sys.footswitch", "fx1+fx2", 3, "FX1+FX2"},
      {"sys.noisegate", "327", 327, "327"},
      {"addr.1109", "0x80C0", 32960, "32960"},
  };
  for (const ValueCase& c : cases) {
    const ParamAddress address = Named(c.name);
    const ParsedValue parsed = ParseValue(address, c.typed);
    EXPECT_EQ(parsed.raw, c.raw) << c.name << " = " << c.typed << ": " << parsed.error;
    EXPECT_EQ(FormatValue(address, c.raw), c.shown) << c.name;
  }
}

TEST(ParamCatalogueValues, OutOfRangeAndForeignValuesAreRefusedWithTheReason) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"ch1.fader", "10.1dB"},    {"ch1.fader", "loud"},    {"ch1.fader", "-6Hz"},   {"ch1.eq1.gain", "13"},
      {"ch1.eq1.freq", "21kHz"},  {"ch1.hpf.freq", "19Hz"}, {"ch1.delay", "10.5ms"}, {"ch1.comp.ratio", "101:1"},
      {"ch1.hpf.type", "Butter"}, {"st9.mute", "off 48V"},  {"ch1.mute", "on off"},  {"sys.noisegate", "12"},
      {"fx1.program", "37"},      {"fx1.param1", "136"},    {"fx2.param2", "101"},   {"ch1.pan", "L101"},      {"ch1.eq1.q", "0.3"},    {"addr.1109", "65536"},
      {"ch1.fader", ""},          {"ch1.fader", "nan"},
  };
  for (const auto& [name, typed] : cases) {
    const ParsedValue parsed = ParseValue(Named(name), typed);
    EXPECT_FALSE(parsed.raw) << name << " = " << typed;
    EXPECT_NE(parsed.error.find(name), std::string::npos) << parsed.error;
  }
}

TEST(ParamCatalogueValues, EffectParametersReadByTheProgramTypeInUse) {
  const struct {
    std::uint16_t type;
    std::string_view name;
    std::uint16_t raw;
    std::string_view shown;
  } cases[] = {
      {8, "fx1.param1", 20, "20 (Echo Delay:100ms)"},  {11, "fx2.param1", 55, "55 (Rever Delay:5.5ms)"},
      {3, "fx1.param2", 25, "25 (Reverb Time:2.5s)"},  {0, "fx1.param1", 0, "0 (Rever PreDelay:0ms)"},
      {8, "fx2.param2", 50, "50 (Echo Repeat:50%)"},
  };
  for (const auto& c : cases) {
    const ParamAddress address = Named(c.name);
    const ParamAddress type = *ParamAt(address).readWith;
    EXPECT_EQ(ParamAt(type).kind, ValueKind::kProgramType) << c.name;
    const std::string shown = FormatValue(address, c.raw, [&](ParamAddress a) { return a == type ? c.type : 0; });
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(ParseValue(address, shown).raw, c.raw) << shown;
  }
  EXPECT_EQ(WithReadingDependencies({Named("fx2.param1"), 50}),
            (std::vector<ParamAddress>{Named("fx2.param1"), 50, Named("fx2.program.type")}));
}

TEST(ParamCatalogueValues, EveryDefaultPrintsAsTextThatTypesBackToIt) {
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a == address::kSystemNoiseGate) continue;  // its default 1000 is no selector value, and typing it is refused
    const std::uint16_t raw = DefaultValue(a);
    EXPECT_EQ(ParseValue(a, FormatValue(a, raw)).raw, raw) << ParamAt(a).name << " " << FormatValue(a, raw);
  }
}

TEST(ParamCatalogueValues, WholeRangesRoundTripThroughText) {
  struct Range {
    std::string_view name;
    int first;
    int last;
  };
  const Range ranges[] = {
      {"ch1.fader", 0, 1300},        {"ch1.delay", 0, 1000},
      {"ch1.comp.attack", 0, 1270},  {"ch1.gate", 0, 120},
      {"ch1.gain", 0, kGainStepTop}, {"ch1.comp.threshold", 0, 560},
      {"ch1.eq1.gain", 260, 620},    {"ch1.eq1.q", 40, 12800},
      {"ch1.eq1.freq", 100, 20600},  {"ch1.eq1.freq", 0x8000 + 105, 0x8000 + 999},
  };
  for (const Range& range : ranges) {
    const ParamAddress address = Named(range.name);
    for (int raw = range.first; raw <= range.last; ++raw) {
      const auto word = static_cast<std::uint16_t>(raw);
      ASSERT_EQ(ParseValue(address, FormatValue(address, word)).raw, word) << range.name << " " << raw;
    }
  }
  const ParamAddress hpf = Named("ch1.hpf.freq");
  for (int row = kFilterOffRow; row <= kFilterTopRow; ++row) {
    EXPECT_EQ(ParseValue(hpf, FormatValue(hpf, FilterRowRaw(row))).raw, FilterRowRaw(row)) << row;
  }
  const ParamAddress ratio = Named("ch1.comp.ratio");
  for (int step = 0; step <= kRatioTop; ++step) {
    for (const bool off : {false, true}) {
      const auto word = static_cast<std::uint16_t>(RatioRaw(step, off));
      EXPECT_EQ(ParseValue(ratio, FormatValue(ratio, word)).raw, word) << step;
    }
  }
}

}  // namespace
}  // namespace rmt4
