// The effect-return editor as a user meets it: ENTER on Fx2's strip, a
// program picked, recalled on the emulated console and read back into the
// editor; storing to a user slot and the refusal for a built-in slot.
#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "protocol/link_frame.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/platform/window_message.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

constexpr int kFx1Strip = 10;
constexpr int kFx2Strip = 11;
constexpr int kLimitMs = 5000;
// The emulated console keeps Fx2's user program 3 (program 19) in record 54 of its library, five words each.
constexpr ParamAddress kFx2UserProgram3Parameter2 = 1215 + 5 * 54 + 2;

class EffectReturnEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read"; }

  InputEditor& editor() { return dynamic_cast<InputEditor&>(*window_.frame().panel(PanelKind::EffectReturn)); }

  /// Picks entry `item` (≥ 1) of the program selector with the keyboard.
  void Pick(int item) {
    SkinnedComboBox& programs = editor().combo(2);
    programs.setCurrentIndex(item - 1);
    QTest::keyClick(&programs, Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
  }

  /// Presses Save and returns the text of the message box that answers it.
  QString SaveAndAnswer() {
    QString text;
    test::AnswerNextMessageBox([&](QMessageBox& box) {
      text = box.text();
      box.accept();
    });
    test::Click(editor().button(8));
    (void)test::PumpUntil([&] { return !text.isEmpty(); }, kLimitMs);
    return text;
  }

  test::ConnectedMainWindow window_;
};

TEST_F(EffectReturnEndToEnd, PickedProgramIsRecalledAndItsParametersReadBack) {
  window_.OpenFromStrip(kFx2Strip);
  ASSERT_TRUE(window_.frame().isVisible());
  ASSERT_TRUE(editor().isVisible());
  EXPECT_EQ(editor().channel(), kFx2Channel);
  EXPECT_EQ(editor().combo(2).count(), 36);
  EXPECT_EQ(editor().combo(2).itemText(15), "TAP DELAY");
  EXPECT_EQ(editor().label(9).text(), "REVERB HALL");

  Pick(7);  // program 8, DELAY1 of list B: program type 24
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(address::kFx2Program) == 8; }, kLimitMs));
  EXPECT_EQ(window_.console().Value(address::kFx2ProgramType), 24);
  EXPECT_TRUE(test::PumpUntil([&] { return editor().label(9).text() == "DELAY1"; }, kLimitMs));
  EXPECT_EQ(editor().slider(18).maxValue(), 135);
  const int delay = window_.console().Value(1180);
  EXPECT_TRUE(test::PumpUntil([&] { return editor().ReadControl(editor_code::kEffectParameter1) == delay; }, kLimitMs));
  EXPECT_EQ(editor().slider(18).captionText(), QString("Echo Delay:%1ms").arg(delay * 5, 3));
}

// Loading a return applies its program type before the parameters: a
// parameter above the range of the type shown before keeps its value.
TEST_F(EffectReturnEndToEnd, ParametersLoadWithinTheRangeOfTheirOwnProgramType) {
  constexpr ParamAddress kFx1ProgramType = 1142;
  constexpr ParamAddress kFx1Parameter1 = 1143;
  constexpr std::uint16_t kDelay1 = 24;
  window_.OpenFromStrip(kFx2Strip);
  SkinnedSlider& parameter1 = editor().slider(18);
  ASSERT_LT(parameter1.maxValue(), 100) << "Fx2 shows a reverb";
  // Scrolled into view, where painting once clamped the value.
  QScrollBar& bar = editor().scrollBar();
  const auto inView = [&] {
    return editor().rect().contains(QRect(parameter1.mapTo(&editor(), QPoint(0, 0)), parameter1.size()));
  };
  for (int click = 0; click < 20 && !inView(); ++click) {
    test::ClickRightArrow(bar);
  }
  ASSERT_TRUE(inView());
  window_.transport().ChangeOnConsole(kFx1ProgramType, kDelay1);
  window_.transport().ChangeOnConsole(kFx1Parameter1, 100);
  ASSERT_TRUE(test::PumpUntil([&] {
    return window_.params().Value(kFx1ProgramType) == kDelay1 && window_.params().Value(kFx1Parameter1) == 100;
  }, kLimitMs));
  const std::size_t writesBefore = window_.transport().Payloads(Command::WriteParams).size();

  SkinnedComboBox& channels = window_.frame().selector(0);
  channels.setCurrentIndex(kFx1Channel - 1);
  QTest::keyClick(&channels, Qt::Key_Down);  // Fx1 picked on the header's channel list
  QCoreApplication::sendPostedEvents();
  ASSERT_EQ(editor().channel(), kFx1Channel);
  EXPECT_EQ(editor().ReadControl(editor_code::kEffectParameter1), 100);
  EXPECT_EQ(parameter1.captionText(), "Echo Delay:500ms");
  QTest::qWait(300);  // a few worker cycles: nothing clamped goes out
  EXPECT_EQ(window_.transport().Payloads(Command::WriteParams).size(), writesBefore);
}

TEST_F(EffectReturnEndToEnd, UserSlotsAreStoredAndBuiltInOnesRefused) {
  window_.OpenFromStrip(kFx2Strip);
  Pick(18);  // program 19, "Ueser-3"
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(address::kFx2Program) == 19; }, kLimitMs));
  SkinnedSlider& parameter2 = editor().slider(19);
  QTest::keyClick(&parameter2, parameter2.GetValue() < 100 ? Qt::Key_Right : Qt::Key_Left);
  const int edited = editor().ReadControl(editor_code::kEffectParameter2);
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(1181) == edited; }, kLimitMs));

  EXPECT_EQ(SaveAndAnswer(), "Save successfully!");
  EXPECT_EQ(window_.console().Value(kFx2UserProgram3Parameter2), edited);

  Pick(3);  // program 4, a built-in one
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(address::kFx2Program) == 4; }, kLimitMs));
  EXPECT_EQ(SaveAndAnswer(), "System mode cannot be saved!");
  EXPECT_EQ(window_.params().Value(address::kFx2Program), 4);
  EXPECT_EQ(window_.transport().Payloads(Command::StoreFxPreset2).size(), 1U) << "only the user slot was stored";
}

TEST_F(EffectReturnEndToEnd, Fx1MainSendWritesBothHalvesAndTremoloIsNotSaved) {
  window_.OpenFromStrip(kFx1Strip);
  EXPECT_EQ(editor().channel(), kFx1Channel);
  EXPECT_EQ(editor().combo(2).itemText(15), "TREMOLO");
  editor().slider(17).SetValue(180);
  SendWindowMessage(&editor(), kLabelOrSelector, 17, 0);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window_.params().Value(1119), 1200);
  EXPECT_EQ(window_.params().Value(1120), 1200);
  EXPECT_EQ(editor().slider(17).captionText(), "Main:0.0dB");
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(1120) == 1200; }, kLimitMs));

  Pick(15);  // TREMOLO, program 16
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(address::kFx1Program) == 16; }, kLimitMs));
  EXPECT_EQ(SaveAndAnswer(), "System mode cannot be saved!");
  EXPECT_EQ(window_.params().Value(address::kFx1Program), 16);
  EXPECT_TRUE(window_.transport().Payloads(Command::StoreFxPreset1).empty());
}

}  // namespace
}  // namespace rmt4::ui
