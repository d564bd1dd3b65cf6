// The effect-return editor's program panel: program types and the selector.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include "i18n/language_guard.h"
#include "recording_host.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using namespace editor_code;

constexpr int kProgramCombo = 2;
constexpr int kNameLabel = 9;
constexpr int kParameter1 = 18;
constexpr int kParameter2 = 19;

struct ReturnsFixture {
  explicit ReturnsFixture(int channel) {
    EXPECT_TRUE(SetCurrentLanguage(LanguageIndex::English));
    editor = new InputEditor(&host, InputEditorRole::kEffectReturns);
    editor->SetChannel(channel);
    QCoreApplication::sendPostedEvents();
    host.Forget();
  }
  SkinnedComboBox& programs() { return editor->combo(kProgramCombo); }

  LanguageGuard guard;
  test::RecordingHost host{QSize(900, 300), Qt::darkGray};
  InputEditor* editor = nullptr;
};

struct TypeCase {
  int type;
  int code;
  int raw;
  double parameter1Top;
  const char* name;
  const char* text;
};

TEST(EffectReturnEditor, ProgramTypeSetsRangeNameAndTexts) {
  const TypeCase cases[] = {
      {8, kEffectParameter1, 20, 135, "DELAY1", "Echo Delay:100ms"},
      {11, kEffectParameter1, 55, 100, "REVERB GATE", "Rever Delay:5.5ms"},
      {3, kEffectParameter2, 25, 30, "REVERB PLATE", "Reverb Time:2.5s"},
      {0, kEffectParameter1, 7, 30, "REVERB HALL", "Rever PreDelay:  7ms"},  // type 0 keeps the range
      {35, kEffectParameter1, 7, 30, "TYPE 35", "Rever PreDelay:  7ms"},
  };
  ReturnsFixture f(kFx1Channel);
  for (const TypeCase& c : cases) {
    SCOPED_TRACE(c.type);
    // As when loading: the parameter first, shown with the old type, then the type.
    f.editor->ApplyValue(c.code, c.raw);
    f.editor->ApplyValue(kEffectProgramType, c.type);
    EXPECT_EQ(f.editor->slider(kParameter1).maxValue(), c.parameter1Top);
    EXPECT_EQ(f.editor->slider(kParameter2).maxValue(), 100);
    EXPECT_EQ(f.editor->label(kNameLabel).text(), c.name);
    EXPECT_EQ(f.editor->slider(c.code == kEffectParameter1 ? kParameter1 : kParameter2).captionText(), c.text);
    EXPECT_EQ(f.editor->ReadControl(c.code), c.raw);
  }
  f.editor->ApplyValue(kEffectProgramType, 37);  // no such type: nothing changes
  EXPECT_EQ(f.editor->label(kNameLabel).text(), "TYPE 35");

  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  f.editor->RefreshTexts();
  EXPECT_EQ(f.editor->slider(kParameter1).captionText(), QString::fromUtf8("混響預延時:  7ms"));
  EXPECT_EQ(f.editor->label(kNameLabel).text(), QString::fromUtf8("預置模式"));
}

TEST(EffectReturnEditor, SelectorListFollowsTheReturnAndTheProgramNumber) {
  ReturnsFixture f(kFx2Channel);
  EXPECT_EQ(f.programs().count(), 24);
  f.editor->ApplyValue(kEffectProgram, 19);
  EXPECT_EQ(f.programs().count(), 36);
  EXPECT_EQ(f.programs().itemText(15), "TAP DELAY");
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 19);
  f.editor->ApplyValue(kEffectProgram, 37);  // beyond the list: the shown entry stays
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 19);
  f.editor->ApplyValue(kEffectProgram, 0);  // shown as the first entry, a built-in program
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 1);
}

}  // namespace
}  // namespace rmt4::ui
