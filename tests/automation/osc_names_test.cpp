#include "automation/osc_names.h"

#include <gtest/gtest.h>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

std::vector<std::string> NamesOf(const std::vector<ParamAddress>& addresses) {
  std::vector<std::string> names;
  for (const ParamAddress a : addresses) names.push_back(ParamAt(a).name);
  return names;
}

TEST(OscNamesTest, PatternsSelectAsOsc10Says) {
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"/ch3/fader", {"ch3.fader"}},
      {"/CH3/Fader", {"ch3.fader"}},
      {"/ch{1,2}/fader", {"ch1.fader", "ch2.fader"}},
      {"/ch[2-4]/fader", {"ch2.fader", "ch3.fader", "ch4.fader"}},
      {"/ch[!2-8]/fader", {"ch1.fader"}},
      {"/ch?/fader",
       {"ch1.fader", "ch2.fader", "ch3.fader", "ch4.fader", "ch5.fader", "ch6.fader", "ch7.fader", "ch8.fader"}},
      {"/aux{1,6}/mute", {"aux1.mute", "aux6.mute"}},
      {"/ch1/eq2/f*q", {"ch1.eq2.freq"}},
      // A star stays within one part of the address.
      {"/ch1/*/freq", {"ch1.hpf.freq", "ch1.lpf.freq", "ch1.eq1.freq", "ch1.eq2.freq", "ch1.eq3.freq", "ch1.eq4.freq"}},
  };
  for (const Case& c : cases) {
    const OscSelection selection = SelectParams(c.pattern);
    EXPECT_EQ(selection.error, "") << c.pattern;
    EXPECT_EQ(NamesOf(selection.addresses), c.names) << c.pattern;
  }
}

TEST(OscNamesTest, UnknownAndMalformedAddressesSayWhy) {
  EXPECT_EQ(SelectParams("/ch99/fader").error, UnknownParamText("/ch99/fader"));
  EXPECT_EQ(SelectParams("/ch*/nothing").error, UnknownParamText("/ch*/nothing"));
  for (const char* malformed : {"/ch[1/fader", "/ch{1,2/fader", "/ch*]/fader", "/ch{1,{2}}/fader"}) {
    EXPECT_NE(SelectParams(malformed).error.find("is not an OSC address pattern"), std::string::npos) << malformed;
  }
  // Stars and marks in turn are matched in time bounded by their length, not exponentially.
  std::string stars = "/";
  for (int i = 0; i < 100; ++i) stars += "*?";
  EXPECT_EQ(SelectParams(stars).error, UnknownParamText(stars));
}

}  // namespace
}  // namespace rmt4
