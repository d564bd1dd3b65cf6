// Scene changes, scope and safes: what an upload writes, bit by bit.
#include "values/scene_scope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

using Words = std::array<std::uint16_t, kParamCount>;

Words Defaults() {
  Words words{};
  for (ParamAddress a = 0; a < kParamCount; ++a) words[a] = DefaultValue(a);
  return words;
}

std::vector<std::string> Names(const ScenePlan& plan, bool written) {
  std::vector<std::string> names;
  for (const PlannedChange& planned : plan.changes) {
    if (planned.Written() == written) names.push_back(planned.change.name);
  }
  return names;
}

const RequestedEdit* EditAt(const ScenePlan& plan, ParamAddress address) {
  const auto found = std::find_if(plan.edits.begin(), plan.edits.end(),
                                  [&](const RequestedEdit& edit) { return edit.address == address; });
  return found == plan.edits.end() ? nullptr : &*found;
}

TEST(SceneScope, PatternsTakeSetsOfCharacters) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  for (const Case& c : {Case{"ch[1-4].eq*", "ch3.eq2.gain", true}, Case{"ch[1-4].fader", "ch5.fader", false},
                        Case{"ch[!1-4].fader", "ch5.fader", true}, Case{"ch[!1-4].fader", "ch2.fader", false},
                        Case{"CH[13].MUTE", "ch3.mute", true}, Case{"aux[2-36].*", "aux6.mute", true},
                        Case{"ch[1.fader", "ch[1.fader", true}, Case{"ch[1.fader", "ch1.fader", false}}) {
    EXPECT_EQ(NameMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
  }
  EXPECT_EQ(MatchParams("ch[2-4].fader").size(), 3U);
  EXPECT_FALSE(FindParam("ch[3].fader").has_value()) << "a pattern is not a name";
}

TEST(SceneScope, OnlyExceptAndSafesChooseWhatIsWrittenDownToTheBit) {
  const Words console = Defaults();
  Words scene = console;
  const ParamAddress ch1Switches = *FindParam("ch1.mute");
  scene[ch1Switches] = static_cast<std::uint16_t>(console[ch1Switches] ^ 0x0009);  // mute and 48V both
  scene[*FindParam("ch3.fader")] = 1100;
  scene[*FindParam("ch5.fader")] = 1100;
  scene[address::kCurrentMode] = 7;  // the console's state, not a setting

  const std::vector<std::string> safes{"ch*.48v"};
  const ScenePlan plan = PlanSceneUpload(console, scene, {{"ch[1-3].*"}, {}}, safes);
  EXPECT_EQ(Names(plan, true), (std::vector<std::string>{"ch1.mute", "ch3.fader"}));
  EXPECT_EQ(Names(plan, false), (std::vector<std::string>{"ch1.48v", "ch5.fader"}));
  EXPECT_TRUE(plan.changes[1].safe && plan.changes[1].inScope);
  // The mute's line does not show the 48V its own line changes.
  EXPECT_EQ(plan.changes[0].change.afterText, FormatValue(ch1Switches, console[ch1Switches] ^ 0x0008));
  EXPECT_EQ(plan.WrittenChanges(), 2);

  // Every word in scope is written, changed or not (the mirror may be behind the
  // console), owning only the bits of what is written: 48V stays as the console holds it.
  for (const RequestedEdit& edit : plan.edits) {
    const std::string& channel = ParamAt(edit.address).channel;
    EXPECT_TRUE(channel == "ch1" || channel == "ch2" || channel == "ch3") << ParamAt(edit.address).name;
  }
  ASSERT_NE(EditAt(plan, ch1Switches), nullptr);
  EXPECT_EQ(*EditAt(plan, ch1Switches), (RequestedEdit{ch1Switches, scene[ch1Switches], 0xFFFE}));
  EXPECT_EQ(*EditAt(plan, *FindParam("ch3.fader")), (RequestedEdit{*FindParam("ch3.fader"), 1100, kWholeWord}));

  const ScenePlan except = PlanSceneUpload(console, scene, {{}, {"ch3.*", "ch1.mute"}}, {});
  EXPECT_EQ(Names(except, true), (std::vector<std::string>{"ch1.48v", "ch5.fader"}));
  EXPECT_EQ(EditAt(except, *FindParam("ch3.fader")), nullptr);
  EXPECT_EQ(EditAt(except, address::kCurrentMode), nullptr) << "the console's state is no setting";
  EXPECT_EQ(EditAt(except, kParamCount - 1), nullptr) << "a file's last word is not uploaded";
}

// A group left out writes none of its words or bits, changed or not; the
// other sections of the channel and the other channels are written.
TEST(SceneScope, AGroupLeftOutIsNotWrittenAtAll) {
  const Words console = Defaults();
  Words scene = console;
  const ParamAddress ch1Switches = *FindParam("ch1.mute");
  scene[ch1Switches] = static_cast<std::uint16_t>(console[ch1Switches] ^ 0x0009);
  scene[*FindParam("ch3.fader")] = 1100;
  scene[*FindParam("ch3.eq1.gain")] ^= 0x0004;
  const struct {
    std::vector<SceneGroup> leftOut;
    std::vector<std::string> written;
    std::vector<std::string> untouchedWords;  // not one of their bits is written
  } cases[] = {
      {{{"ch3", ParamSection::kStrip}}, {"ch1.mute", "ch1.48v", "ch3.eq1.gain"}, {"ch3.fader", "ch3.mute"}},
      {{{"ch3", ParamSection::kStrip}, {"ch3", ParamSection::kEq}}, {"ch1.mute", "ch1.48v"}, {"ch3.fader", "ch3.eq1.freq"}},
      {{{"ch1", ParamSection::kStrip}}, {"ch3.fader", "ch3.eq1.gain"}, {"ch1.mute"}},
      {{}, {"ch1.mute", "ch1.48v", "ch3.fader", "ch3.eq1.gain"}, {}},
  };
  for (const auto& c : cases) {
    const ScenePlan plan = PlanSceneUpload(console, scene, ScopeWithout(c.leftOut), {});
    EXPECT_EQ(Names(plan, true), c.written) << c.written.size();
    for (const std::string& word : c.untouchedWords) EXPECT_EQ(EditAt(plan, *FindParam(word)), nullptr) << word;
  }
}

TEST(SceneScope, GroupKeysReadBackAndNothingElseReadsAsAGroup) {
  for (const SceneGroup& group : {SceneGroup{"ch3", ParamSection::kEq}, SceneGroup{"sys", ParamSection::kSystem},
                                  SceneGroup{"aux6", ParamSection::kStrip}, SceneGroup{"", ParamSection::kOther}}) {
    EXPECT_EQ(GroupFromKey(GroupKey(group)), group) << GroupKey(group);
  }
  for (const char* key : {"ch3", "ch3.", "ch99.eq", "ch3.equaliser", "ch3.eq.eq", "../x.eq", ""}) {
    EXPECT_FALSE(GroupFromKey(key).has_value()) << key;
  }
}

TEST(SceneScope, UnconfirmedChangesAreWhatTheConsoleDoesNotHold) {
  const Words console = Defaults();
  const ParamAddress fader = *FindParam("ch3.fader");
  const std::vector<RequestedEdit> written{{fader, 1100, kWholeWord}, {*FindParam("ch1.mute"), 0x0001, 0x0001}};
  Words after = console;
  after[*FindParam("ch1.mute")] |= 0x0001;
  const std::vector<SceneChange> missing = UnconfirmedChanges(written, after);
  ASSERT_EQ(missing.size(), 1U);
  EXPECT_EQ(SceneChangeLine(missing[0]), "ch3.fader: " + FormatValue(fader, console[fader]) + " \u2192 -10.0 dB");
  after[fader] = 1100;
  EXPECT_TRUE(UnconfirmedChanges(written, after).empty());
}

}  // namespace
}  // namespace rmt4
