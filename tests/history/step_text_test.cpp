// The undo button's tips and the question before overwriting, as a user reads them.
#include "history/step_text.h"

#include <gtest/gtest.h>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

ParamAddress NamedAddress(std::string_view name) { return FindParam(name).value(); }

TEST(StepText, TipsSayWhatUndoAndRedoWillDoInUnits) {
  const ParamAddress ch3 = NamedAddress("ch3.fader");
  const ParamAddress main = NamedAddress("main.fader");
  const HistoryStep fader{1, StepKind::kGesture, {{ch3, 1000, 800}}};
  // ParamSet writes MAIN's fader with its linked copy: one value for the user.
  const HistoryStep mainFader{2, StepKind::kGesture, {{NamedAddress("main.fader.linked"), 1000, 800}, {main, 1000, 800}}};
  const HistoryStep band{3, StepKind::kGesture, {{NamedAddress("ch7.eq2.gain"), 1, 2}, {NamedAddress("ch7.eq2.freq"), 1, 2}}};
  const HistoryStep upload{4, StepKind::kSceneUpload, std::vector<ParamChange>(312, ParamChange{ch3, 1, 2})};
  const struct {
    const HistoryStep& step;
    bool back;
    std::string tip;
  } cases[] = {
      {fader, true, "Undo: CH3 fader back from " + FormatValue(ch3, 800) + " to " + FormatValue(ch3, 1000)},
      {fader, false, "Redo: CH3 fader from " + FormatValue(ch3, 1000) + " to " + FormatValue(ch3, 800)},
      {mainFader, true, "Undo: MAIN fader back from " + FormatValue(main, 800) + " to " + FormatValue(main, 1000)},
      {band, true, "Undo: CH7 EQ band 2 gain (2 values)"},
      {upload, true, "Undo: scene upload (312 values)"},
  };
  for (const auto& c : cases) EXPECT_EQ(UndoTip(c.step, c.back), c.tip);
}

TEST(StepText, TheQuestionNamesTheValuesAndStaysShort) {
  EXPECT_EQ(ChangedOnConsoleQuestion({NamedAddress("ch3.fader")}, true),
            "CH3 fader was changed on the console since. Undo it anyway?");
  std::vector<ParamAddress> many;
  for (const char* name : {"ch1.fader", "ch2.fader", "ch3.fader", "ch4.fader", "ch5.fader", "ch6.fader", "ch7.fader"}) {
    many.push_back(NamedAddress(name));
  }
  EXPECT_EQ(ChangedOnConsoleQuestion(many, false),
            "CH1 fader, CH2 fader, CH3 fader, CH4 fader, CH5 fader, ... was changed on the console since. Redo it "
            "anyway?");
}

}  // namespace
}  // namespace rmt4
