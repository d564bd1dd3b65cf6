// Fades on virtual time: steps along the fader's travel to the target, one
// fade per word, and the console's operator wins at once.
#include "automation/fades.h"

#include <gtest/gtest.h>

#include <map>

#include "values/level_table.h"
#include "values/param_numbers.h"

namespace rmt4 {
namespace {

const ParamAddress kFader = *FindParam("ch3.fader");

/// A fade and the words as the console holds them; steps land when Store is called.
struct Console {
  explicit Console(ParamAddress address = kFader, std::uint16_t held = 0) : words{{address, held}} {}
  std::vector<RequestedEdit> Tick(std::int64_t nowMs) {
    return fades.Tick(nowMs, [this](ParamAddress a) { return words[a]; });
  }
  void Store(const std::vector<RequestedEdit>& steps) {
    for (const RequestedEdit& step : steps) words[step.address] = ReplaceOwnBits(words[step.address], step.value, step.own);
  }
  void FadeUp(std::int64_t nowMs) { fades.Start(kFader, 0, {kFader, LevelRaw(0)}, 1.0, nowMs); }

  std::map<ParamAddress, std::uint16_t> words;
  Fades fades;
};

TEST(Fades, StepsFollowTheFaderTravelToTheTarget) {
  Console console;
  console.FadeUp(1000);
  std::vector<std::uint16_t> seen;
  for (std::int64_t now = 1000; now <= 2100; now += 50) {
    const std::vector<RequestedEdit> steps = console.Tick(now);
    ASSERT_LE(steps.size(), 1U);
    console.Store(steps);
    if (!steps.empty()) seen.push_back(steps.front().value);
    if (now == 1500) {
      EXPECT_EQ(console.words[kFader], LevelAtStep(90)) << "half the travel, not half the dB";
    }
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) && std::adjacent_find(seen.begin(), seen.end()) == seen.end());
  EXPECT_EQ(seen.back(), LevelRaw(0));
  EXPECT_TRUE(console.fades.Empty());
}

TEST(Fades, AStepStoredLateIsNoMoveForItsFadeNorForOneReplacingIt) {
  for (const std::optional<double> newTargetDb : {std::optional<double>{}, std::optional<double>{-20}}) {
    SCOPED_TRACE(newTargetDb ? "a new fade replaces it" : "the fade goes on");
    Console console;
    console.FadeUp(0);
    const std::vector<RequestedEdit> inFlight = console.Tick(200);
    ASSERT_EQ(inFlight.size(), 1U);
    // A new fade starts from the console's word, which does not hold the step in flight yet.
    if (newTargetDb) console.fades.Start(kFader, 0, {kFader, LevelRaw(*newTargetDb)}, 1.0, 200);
    EXPECT_EQ(console.Tick(400).size(), 1U) << "the console still holds the start";
    console.Store(inFlight);
    for (std::int64_t now = 450; now <= 1500; now += 50) console.Store(console.Tick(now));
    EXPECT_EQ(console.words[kFader], LevelRaw(newTargetDb.value_or(0)));
    EXPECT_TRUE(console.fades.Empty());
    EXPECT_TRUE(console.fades.TakeOverridden().empty());
  }
}

TEST(Fades, AnOperatorsMoveStopsTheFade) {
  // A value no step wrote, and the fade's own start held again once its steps have landed.
  for (const bool backAlongThePath : {false, true}) {
    SCOPED_TRACE(backAlongThePath ? "pulled back to where the fade began" : "a value no step wrote");
    Console console;
    console.FadeUp(0);
    for (std::int64_t now = 50; now <= 400; now += 50) console.Store(console.Tick(now));
    console.words[kFader] = backAlongThePath ? 0 : static_cast<std::uint16_t>(console.words[kFader] + 1);
    EXPECT_TRUE(console.Tick(450).empty());
    EXPECT_FALSE(console.fades.Fading(kFader));
    EXPECT_EQ(console.fades.TakeOverridden(), std::vector<ParamAddress>{kFader});
  }
}

TEST(Fades, ASendFadesInItsLevelBitsAndKeepsItsPreFlag) {
  const ParamAddress send = *FindParam("ch1.send.aux1");
  Console console(send, 0x8000);
  console.fades.Start(send, 0x8000, {send, LevelRaw(-10), 0x7FFF}, 0.5, 0);
  console.Store(console.Tick(250));
  EXPECT_TRUE(console.fades.Fading(send)) << "the pre flag it keeps is no move";
  console.Store(console.Tick(500));
  EXPECT_EQ(console.words[send], 0x8000 | LevelRaw(-10));
}

TEST(Fades, LevelsAndRangesFadeChoicesAndSwitchesJump) {
  for (const char* name : {"ch3.fader", "ch1.send.aux1", "ch1.pan", "ch1.eq1.freq", "ch1.comp.ratio"})
    EXPECT_TRUE(Fades::CanFade(*FindParam(name))) << name;
  for (const char* name : {"ch1.mute", "ch1.hpf.type", "fx1.program", "sys.mode", "addr.1109"})
    EXPECT_FALSE(Fades::CanFade(*FindParam(name))) << name;
  const ParamAddress mute = *FindParam("aux1.mute");
  Console console(mute, 1);
  console.fades.Start(mute, 1, {mute, 0}, 2.0, 0);
  EXPECT_EQ(console.Tick(50), (std::vector<RequestedEdit>{{mute, 0}}));
  EXPECT_TRUE(console.fades.Empty());
}

}  // namespace
}  // namespace rmt4
