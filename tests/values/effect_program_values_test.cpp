#include "values/effect_program_values.h"

#include <gtest/gtest.h>

#include "i18n/language_guard.h"
#include "values/editor_codes.h"

namespace rmt4 {
namespace {

struct ParameterCase {
  int type;
  int position;
  bool first;  // parameter 1, else parameter 2
  const char* text;
};

// Both ends of every kind of reading, and the types that share the type-0 row.
const ParameterCase kParameterCases[] = {
    {8, 20, true, "Echo Delay:100ms"},        {8, 135, true, "Echo Delay:675ms"},
    {11, 55, true, "Rever Delay:5.5ms"},      {11, 100, false, "Echo Delay:100%"},
    {3, 25, false, "Reverb Time:2.5s"},       {3, 0, true, "Rever PreDelay:  0ms"},
    {12, 63, true, "Slope: 63"},              {16, 127, true, "Frequency:127Hz"},
    {26, 100, true, "Rever Delay:100ms"},     {27, 0, true, "Rever Delay:0.0ms"},
    {28, 100, false, "Mixing Ratio:100%"},    {30, 42, true, "Echo Delay:210ms"},
    {6, 0, false, "Echo Repeat:  0%"},        {0, 30, true, "Rever PreDelay: 30ms"},
    {34, 100, false, "Reverb Time:10.0s"},    {36, 12, true, "Rever PreDelay: 12ms"},
};

TEST(EffectProgramValues, ParameterTextsFollowTheProgramType) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  for (const ParameterCase& c : kParameterCases) {
    SCOPED_TRACE(c.type);
    const ProgramTypeLook& look = ProgramTypeLookOf(c.type);
    EXPECT_EQ(ProgramParameterText(c.first ? look.parameter1 : look.parameter2, c.position), c.text);
  }
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  EXPECT_EQ(ProgramParameterText(ProgramTypeLookOf(8).parameter1, 20), "回声延时:100ms");
}

TEST(EffectProgramValues, NamesAndSelectorEntries) {
  const std::pair<int, const char*> names[] = {{0, "REVERB HALL"}, {16, "TREMOLO"},    {17, "REVERB HALL"},
                                               {26, "EARLY REF."},  {32, "TAP DELAY"}, {33, "TYPE 33"}};
  for (const auto& [type, name] : names) EXPECT_EQ(ProgramTypeName(type), name) << type;

  EXPECT_EQ(InitialProgramEntries().back(), "Ueser-24");
  const std::vector<std::string> fx2 = ProgramEntries(ProgramListOfChannel(kFx2Channel));
  ASSERT_EQ(fx2.size(), 36U);
  EXPECT_EQ(fx2[15], "TAP DELAY");
  EXPECT_EQ(fx2[18], "Ueser-3");  // program 19
  EXPECT_EQ(fx2.back(), "Ueser-20");
  EXPECT_EQ(ProgramEntries(ProgramListOfChannel(kFx1Channel))[15], "TREMOLO");

  EXPECT_TRUE(IsFactoryProgram(0));
  EXPECT_TRUE(IsFactoryProgram(16));
  EXPECT_FALSE(IsFactoryProgram(17));
}

}  // namespace
}  // namespace rmt4
