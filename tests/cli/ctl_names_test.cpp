// Names on rmt4ctl's command line and the scene diff, without a console.
#include "cli/ctl_names.h"

#include <gtest/gtest.h>

#include <array>

#include "cli/ctl_scene_diff.h"

namespace rmt4::ctl {
namespace {

using Words = std::vector<std::string>;

TEST(CtlNames, NamesPatternsAndUnitsBecomeAddressesAndRawWords) {
  struct Case {
    Words command;
    bool raw;
    Words expected;
    bool named;
  };
  const Case cases[] = {
      {{"get", "136", "0"}, false, {"get", "136", "0"}, false},
      {{"get", "ch1.fader", "0"}, false, {"get", "50", "0"}, true},
      {{"get", "ch1.eq1.*"}, false, {"get", "73", "74", "75", "76"}, true},
      {{"get", "ch1.fader"}, true, {"get", "50"}, false},
      {{"set", "136=1000", "970=0x3A5"}, false, {"set", "136=1000", "970=933"}, false},
      {{"set", "ch1.fader=-6dB", "ch7.eq2.freq=1.2kHz"}, false, {"set", "50=1140", "336=1200"}, false},
      {{"set", "50=-6dB"}, false, {"set", "50=1140"}, false},
      {{"set", "ch1.pfl=on"}, false, {"set", "59=34068"}, false},  // the companion follows the word written
      {{"set", "fx1.send.main=0dB"}, false, {"set", "1119=1200", "1120=1200"}, false},
      {{"set", "ch?.gain=0dB"},
       false,
       {"set", "48=48", "91=48", "134=48", "177=48", "220=48", "263=48", "306=48", "349=48"},
       false},
      {{"set", "ch1.fader=1140"}, true, {"set", "50=1140"}, false},
      // Names of one word add up to one write: of both bits, or of all of it.
      {{"set", "ch1.mute=off", "ch1.48v=on"}, false, {"set", "46=13"}, false},
      {{"set", "ch2.send.aux1.pre=pre", "ch2.send.aux1=-6dB"}, false, {"set", "94=33908"}, false},
      {{"get", "ch1.send.aux1*", "ch1.48v"}, false, {"get", "51", "51", "46"}, true},  // each word before its bits
      {{"watch", "5", "*.mute"}, false, {"watch", "5"}, true},
      {{"status"}, false, {"status"}, false},
  };
  for (const Case& c : cases) {
    const ResolvedCommand resolved = ResolveNames(c.command, c.raw);
    EXPECT_EQ(resolved.error, "") << c.command[1];
    EXPECT_EQ(resolved.words, c.expected) << c.command[0] << " " << c.command.back();
    EXPECT_EQ(resolved.named, c.named) << c.command.back();
  }
  EXPECT_EQ(ResolveNames({"watch", "*.mute"}, false).watched.size(), 19U);
  EXPECT_EQ(ResolveNames({"set", "ch1.pfl=on"}, false).ownBits, (std::map<ParamAddress, std::uint16_t>{{59, 0x7FFF}}));
  EXPECT_EQ(ResolveNames({"set", "ch1.mute=off", "ch1.48v=on"}, false).ownBits,
            (std::map<ParamAddress, std::uint16_t>{{46, 0x0009}}));
  EXPECT_EQ(ResolveNames({"get", "ch1.send.aux1*", "ch1.48v"}, false).readAs,
            (std::vector<const BitParam*>{nullptr, FindBitParam("ch1.send.aux1.pre"), FindBitParam("ch1.48v")}));
}

TEST(CtlNames, BadNamesAndValuesAreRefusedWithAReason) {
  const std::pair<Words, std::string> cases[] = {
      {{"get", "ch1.nothing"}, "ch1.nothing"},
      {{"get", "1574"}, "0..1573"},
      {{"get", "zz*"}, "zz*"},
      {{"set", "ch1.fader=20dB"}, "out of range"},
      {{"set", "ch1.fader"}, "NAME=VALUE"},
      {{"set", "ch1.fader=-6dB"}, "--raw"},
      {{"set", "ch*.fader=loud"}, "ch1.fader"},
      {{"set", "ch1.48v=pre"}, "ch1.48v: not one of its words"},
      {{"watch", "5", "nope"}, "nope"},
  };
  for (const auto& [command, reason] : cases) {
    const bool raw = command.back() == "ch1.fader=-6dB";
    const ResolvedCommand resolved = ResolveNames(command, raw);
    EXPECT_NE(resolved.error.find(reason), std::string::npos) << command.back() << ": " << resolved.error;
  }
}

TEST(CtlNames, LinesCarryNamesAndUnitsOrStayRaw) {
  const ValueAt delayProgram = [](ParamAddress a) { return static_cast<std::uint16_t>(a == 1142 ? 8 : 0); };
  EXPECT_EQ(ParamLine(50, 1140, true, delayProgram), "ch1.fader: -6.0 dB");
  EXPECT_EQ(ParamLine(50, 1140, false, delayProgram), "50 1140");
  // An effect parameter reads as the editor captions it for the program type in use.
  EXPECT_EQ(ParamLine(1143, 20, true, delayProgram), "fx1.param1: 20 (Echo Delay:100ms)");
  EXPECT_EQ(ParamLine(1143, 20, false, delayProgram), "1143 20");
}

TEST(CtlSceneDiff, OneLinePerDifferenceGroupedByChannelMetersLeftOut) {
  std::array<std::uint16_t, kParamCount> before{};
  for (ParamAddress a = 0; a < kParamCount; ++a) before[a] = DefaultValue(a);
  EXPECT_TRUE(SceneDiffLines(before, before).empty());

  auto after = before;
  after[address::kLevelMeters] = 0x55;
  after[address::kFx1Program] = 5;  // fx1.program: address 26, but the returns follow the input channels
  after[address::kMainBus] = 1200;
  after[93] = 1140;  // ch2.fader
  after[1109] = 7;
  EXPECT_EQ(SceneDiffLines(before, after),
            (std::vector<std::string>{"ch2.fader: -inf \u2192 -6.0 dB", "fx1.program: REVERB HALL \u2192 REVERB VOCAL2",
                                      "main.fader: -26.7 dB \u2192 0.0 dB", "addr.1109: 32960 \u2192 7"}));
}

TEST(CtlSceneDiff, APackedWordDiffersPerThingAndWholeOnlyForBitsNoNameCovers) {
  std::array<std::uint16_t, kParamCount> before{};
  for (ParamAddress a = 0; a < kParamCount; ++a) before[a] = DefaultValue(a);
  const ParamAddress switches = *FindParam("ch1.mute");
  const ParamAddress send = *FindParam("ch2.send.aux1");
  const ParamAddress ratio = *FindParam("ch3.comp.ratio");
  before[switches] = 0x000C;
  before[send] = 1140;
  before[ratio] = 40;
  const struct {
    ParamAddress address;
    std::uint16_t after;
    std::vector<std::string> lines;
  } cases[] = {
      {switches, 0x000D, {"ch1.48v: OFF \u2192 ON"}},
      {switches, 0x0005, {"ch1.mute: OFF \u2192 ON", "ch1.48v: OFF \u2192 ON"}},
      {switches, 0x0008, {"ch1.mute: OFF (raw 12) \u2192 OFF (raw 8)"}},  // a bit no reading shows
      {send, 0x8000 | 1140, {"ch2.send.aux1.pre: post \u2192 pre"}},
      {ratio, 0x8000 | 40, {"ch3.comp: on \u2192 off"}},
  };
  for (const auto& c : cases) {
    auto after = before;
    after[c.address] = c.after;
    EXPECT_EQ(SceneDiffLines(before, after), c.lines) << c.address << " " << c.after;
  }
}

}  // namespace
}  // namespace rmt4::ctl
