// Fades on virtual time: steps along the fader's travel to the target, one
// fade per word, and the console's operator wins at once.
#include "automation/fades.h"

#include <gtest/gtest.h>

#include <map>

#include "values/level_table.h"
#include "values/param_numbers.h"

namespace rmt4 {
namespace {

/// The words as the console holds them; steps land when Store is called.
struct Console {
  std::map<ParamAddress, std::uint16_t> words;
  ValueAt valueAt() {
    return [this](ParamAddress a) { return words[a]; };
  }
  void Store(const std::vector<RequestedEdit>& steps) {
    for (const RequestedEdit& step : steps) {
      words[step.address] = ReplaceOwnBits(words[step.address], step.value, step.own);
    }
  }
};

const ParamAddress kFader = *FindParam("ch3.fader");

TEST(Fades, StepsFollowTheFaderTravelToTheTarget) {
  Console console{{{kFader, 0}}};
  Fades fades;
  fades.Start(kFader, 0, {kFader, LevelRaw(0)}, 1.0, 1000);
  std::vector<std::uint16_t> seen;
  for (std::int64_t now = 1000; now <= 2100; now += 50) {
    const std::vector<RequestedEdit> steps = fades.Tick(now, console.valueAt());
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
  EXPECT_TRUE(fades.Empty());
}

TEST(Fades, ANewFadeReplacesTheOldOneAndItsLateStepsAreNoMove) {
  Console console{{{kFader, 0}}};
  Fades fades;
  fades.Start(kFader, 0, {kFader, LevelRaw(0)}, 1.0, 0);
  const std::vector<RequestedEdit> inFlight = fades.Tick(500, console.valueAt());
  ASSERT_EQ(inFlight.size(), 1U);
  // Not stored yet when the new fade starts from the console's word; it lands after.
  fades.Start(kFader, 0, {kFader, LevelRaw(-20)}, 1.0, 500);
  console.Store(inFlight);
  for (std::int64_t now = 550; now <= 1500; now += 50) console.Store(fades.Tick(now, console.valueAt()));
  EXPECT_EQ(console.words[kFader], LevelRaw(-20));
  EXPECT_TRUE(fades.Empty());
  EXPECT_TRUE(fades.TakeOverridden().empty());
}

TEST(Fades, AValueNoStepWroteStopsTheFadeButALateStepDoesNot) {
  Console console{{{kFader, 0}}};
  Fades fades;
  fades.Start(kFader, 0, {kFader, LevelRaw(0)}, 1.0, 0);
  const std::vector<RequestedEdit> first = fades.Tick(200, console.valueAt());
  ASSERT_EQ(first.size(), 1U);
  // Its steps have not landed: the console still holds the start.
  EXPECT_EQ(fades.Tick(400, console.valueAt()).size(), 1U);
  EXPECT_TRUE(fades.Fading(kFader));
  console.Store(first);  // the first lands after the second was given
  EXPECT_EQ(fades.Tick(450, console.valueAt()).size(), 1U);

  console.words[kFader] = static_cast<std::uint16_t>(console.words[kFader] + 1);  // the operator's hand
  EXPECT_TRUE(fades.Tick(500, console.valueAt()).empty());
  EXPECT_FALSE(fades.Fading(kFader));
  EXPECT_EQ(fades.TakeOverridden(), std::vector<ParamAddress>{kFader});
}

TEST(Fades, ASendFadesInItsLevelBitsAndKeepsItsPreFlag) {
  const ParamAddress send = *FindParam("ch1.send.aux1");
  Console console{{{send, 0x8000}}};
  Fades fades;
  fades.Start(send, 0x8000, {send, LevelRaw(-10), 0x7FFF}, 0.5, 0);
  console.Store(fades.Tick(250, console.valueAt()));
  EXPECT_TRUE(fades.Fading(send)) << "the pre flag it keeps is no move";
  console.Store(fades.Tick(500, console.valueAt()));
  EXPECT_EQ(console.words[send], 0x8000 | LevelRaw(-10));
}

TEST(Fades, LevelsAndRangesFadeChoicesAndSwitchesJump) {
  for (const char* name : {"ch3.fader", "ch1.send.aux1", "ch1.pan", "ch1.eq1.freq", "ch1.comp.ratio"}) {
    EXPECT_TRUE(Fades::CanFade(*FindParam(name))) << name;
  }
  for (const char* name : {"ch1.mute", "ch1.hpf.type", "fx1.program", "sys.mode", "addr.1109"}) {
    EXPECT_FALSE(Fades::CanFade(*FindParam(name))) << name;
  }
  const ParamAddress mute = *FindParam("aux1.mute");
  Console console{{{mute, 1}}};
  Fades fades;
  fades.Start(mute, 1, {mute, 0}, 2.0, 0);
  EXPECT_EQ(fades.Tick(50, console.valueAt()), (std::vector<RequestedEdit>{{mute, 0}}));
  EXPECT_TRUE(fades.Empty());
}

}  // namespace
}  // namespace rmt4
