// The effect-return editor's program panel: program types, the selector and
// what it reports.
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "i18n/language_guard.h"
#include "recording_host.h"
#include "ui/controls/ea_qel2.h"
#include "ui/controls/gdi_button.h"
#include "ui/controls/qel_combo_box.h"
#include "ui/controls/qel_static.h"
#include "ui/editors/input_editor.h"
#include "ui/platform/window_message.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using namespace editor_code;

constexpr int kProgramCombo = 2;
constexpr int kSaveButton = 8;
constexpr int kNameLabel = 9;
constexpr int kParameter1 = 18;
constexpr int kParameter2 = 19;

struct ReturnsFixture {
  explicit ReturnsFixture(int channel) {
    EXPECT_TRUE(SetCurrentLanguage(LanguageIndex::English));
    editor = new CWinInPut(&host, InputEditorRole::kEffectReturns);
    editor->SetChannel(channel);
    QCoreApplication::sendPostedEvents();
    host.Forget();
  }
  CQel_ComboBox& programs() { return editor->combo(kProgramCombo); }

  LanguageGuard guard;
  test::RecordingHost host{QSize(900, 300), Qt::darkGray};
  CWinInPut* editor = nullptr;
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
  ASSERT_EQ(f.programs().count(), 24);
  EXPECT_EQ(f.programs().itemText(23), "Ueser-24");

  f.editor->ApplyValue(kEffectProgram, 19);
  ASSERT_EQ(f.programs().count(), 36);
  EXPECT_EQ(f.programs().itemText(15), "TAP DELAY");
  EXPECT_EQ(f.programs().itemText(18), "Ueser-3");
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 19);
  f.editor->ApplyValue(kEffectProgram, 37);  // beyond the list: the shown entry stays
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 19);
  f.editor->ApplyValue(kEffectProgram, 0);  // shown as the first entry, a built-in program
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 1);

  f.editor->SetChannel(kFx1Channel);
  f.editor->ApplyValue(kEffectProgram, 16);
  EXPECT_EQ(f.programs().itemText(15), "TREMOLO");
}

TEST(EffectReturnEditor, PickSaveAndSendsReportTheirCodes) {
  ReturnsFixture f(kFx2Channel);
  f.editor->ApplyValue(kEffectProgram, 1);
  f.programs().setCurrentIndex(17);
  QTest::keyClick(&f.programs(), Qt::Key_Down);  // the user moves to item 18
  CGDI_Button& save = f.editor->button(kSaveButton);
  QTest::mouseClick(&save, Qt::LeftButton, {}, save.rect().center());
  QCoreApplication::sendPostedEvents();  // the selector's report reaches the editor, which posts to its host
  f.editor->slider(17).SetValue(180);
  SendWindowMessage(f.editor, kLabelOrSelector, 17, 0);
  const std::vector<test::RecordedMessage> expected{{kControlEdited, kFx2Channel, kEffectProgram},
                                                    {kControlEdited, kFx2Channel, kStoreEffectProgram},
                                                    {kControlEdited, kFx2Channel, kMainSend}};
  EXPECT_EQ(f.host.Messages(), expected);
  EXPECT_EQ(f.editor->ReadControl(kEffectProgram), 19);
  EXPECT_EQ(f.editor->ReadControl(kMainSend), 1200);
  EXPECT_EQ(f.editor->slider(17).captionText(), "Main:0.0dB");

  const std::vector<int> order = f.editor->LoadOrder();
  ASSERT_GE(order.size(), 5U);
  EXPECT_EQ(std::vector<int>(order.end() - 5, order.end()),
            (std::vector<int>{kMainSend, kEffectParameter1, kEffectParameter2, kEffectProgram, kEffectProgramType}));
  EXPECT_TRUE(f.editor->slider(2).isHidden()) << "the returns have no noise gate";
}

}  // namespace
}  // namespace rmt4::ui
