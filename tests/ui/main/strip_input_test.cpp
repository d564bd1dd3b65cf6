// Input strips through real clicks and drags on their controls, and console
// values through the bank, against the parameter table.
#include <gtest/gtest.h>

#include "i18n/language.h"
#include "modal_answer.h"
#include "recording_host.h"
#include "strip_test_host.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/main/input_strip.h"
#include "ui/main/strip_texts.h"

// In the strip helpers' namespace, so the tests use them unqualified.
namespace rmt4::ui::strips {
namespace {

class InputStripTest : public StripTest {
 protected:
  InputStrip& strip(int i) { return host.bank.inputStrip(i); }
  SkinnedButton& button(int i, StripCode code) { return strip(i).button(code); }
  std::string LevelText(int i) { return strip(i).levelLabel().text().toStdString(); }
  std::string PanText(int i) { return strip(i).panLabel().text().toStdString(); }
};

TEST_F(InputStripTest, MuteAndPhantomShareTheSwitchesWordAndKeepEachOthersBits) {
  // CH3: block 132. On, phantom power on, and bit 2 the console's own.
  Arrive(params, host.bank, 132, 0x000D);
  EXPECT_EQ(button(2, StripCode::Mute).state(), kReleased);
  EXPECT_EQ(button(2, StripCode::Phantom48V).state(), kPressed);

  Click(button(2, StripCode::Mute));
  EXPECT_EQ(params.Value(132), 0x0005);  // bit 3 cleared: muted; bits 0 and 2 kept
  EXPECT_TRUE(params[132].Dirty());

  Click(button(2, StripCode::Mute));
  EXPECT_EQ(params.Value(132), 0x000D);

  Arrive(params, host.bank, 132, 0x0008);
  EXPECT_EQ(button(2, StripCode::Mute).state(), kReleased);
  EXPECT_EQ(button(2, StripCode::Phantom48V).state(), kReleased);
  Arrive(params, host.bank, 132, 0x0001);
  EXPECT_EQ(button(2, StripCode::Mute).state(), kPressed);
  EXPECT_EQ(button(2, StripCode::Phantom48V).state(), kPressed);
}

TEST_F(InputStripTest, PhantomPowerIsSwitchedOnOnlyAfterTheUserConfirms) {
  Arrive(params, host.bank, 132, 0x0008);
  SkinnedButton& phantom = button(2, StripCode::Phantom48V);
  {
    MessageBoxAnswerer no(QStringLiteral("&No"));
    Click(phantom);
    EXPECT_EQ(no.answered(), 1);
    EXPECT_EQ(no.lastText().toStdString(), "Operating 48V");
  }
  EXPECT_EQ(phantom.state(), kReleased);
  EXPECT_EQ(DirtyCount(params), 0);
  EXPECT_EQ(params.Value(132), 0x0008);

  int stateWhileAsked = 0;
  rmt4::test::AnswerNextMessageBox([&](QMessageBox& box) {
    stateWhileAsked = phantom.state();
    rmt4::test::PressButton(box, QStringLiteral("Yes"));
  });
  Click(phantom);
  EXPECT_EQ(stateWhileAsked, kReleased) << "phantom power is off until the user says yes";
  EXPECT_EQ(phantom.state(), kPressed);
  EXPECT_EQ(params.Value(132), 0x0009);
  EXPECT_TRUE(params[132].Dirty());

  // Switching off asks nothing.
  MessageBoxAnswerer watcher(QStringLiteral("&Yes"));
  Click(phantom);
  EXPECT_EQ(watcher.answered(), 0);
  EXPECT_EQ(params.Value(132), 0x0008);
}

TEST_F(InputStripTest, PflWritesBothPflWordsAndKeepsTheConsolesFlag) {
  params[59].Store(0x8000);
  Click(button(0, StripCode::Pfl));
  EXPECT_EQ(params.Value(59), 0x8514);  // 0x8000 | 1300
  EXPECT_EQ(params.Value(60), 0x8514);
  EXPECT_TRUE(params[60].Dirty());

  Click(button(0, StripCode::Pfl));
  EXPECT_EQ(params.Value(59), 0x8000);
  EXPECT_EQ(params.Value(60), 0x8000);

  // The flag bit alone is not "in PFL".
  Arrive(params, host.bank, 59, 0x8000);
  EXPECT_EQ(button(0, StripCode::Pfl).state(), kReleased);
  Arrive(params, host.bank, 59, 0x8514);
  EXPECT_EQ(button(0, StripCode::Pfl).state(), kPressed);
}

TEST_F(InputStripTest, RoutingButtonsWriteNothingOrFullLevel) {
  // DIGTAL lives in block 476: L at 487, R at 488.
  Arrive(params, host.bank, 487, 1300);
  Arrive(params, host.bank, 488, 0);
  EXPECT_EQ(button(9, StripCode::Left).state(), kPressed);
  EXPECT_EQ(button(9, StripCode::Right).state(), kReleased);

  Click(button(9, StripCode::Left));
  Click(button(9, StripCode::Right));
  EXPECT_EQ(params.Value(487), 0);
  EXPECT_EQ(params.Value(488), 1300);
  EXPECT_TRUE(params[487].Dirty());
  EXPECT_TRUE(params[488].Dirty());
}

TEST_F(InputStripTest, FaderDragWritesLevelsAndShowsThem) {
  SkinnedFader& fader = strip(0).fader();
  DragFader(fader, 109);  // 166 px above the bottom: step 180
  EXPECT_EQ(fader.position(), 180);
  EXPECT_EQ(params.Value(50), 1200);
  EXPECT_TRUE(params[50].Dirty());
  EXPECT_EQ(LevelText(0), "0.0dB");

  DragFader(fader, 0);  // above the top: clamped
  EXPECT_EQ(params.Value(50), 1300);
  EXPECT_EQ(LevelText(0), "10.0dB");

  DragFader(fader, 292);
  EXPECT_EQ(params.Value(50), 0);
  EXPECT_EQ(LevelText(0), "- \u221E");
}

TEST_F(InputStripTest, FaderKeysStepTheLevel) {
  SkinnedFader& fader = strip(4).fader();  // CH5: fader at 222
  Arrive(params, host.bank, 222, 1200);
  fader.setFocus();
  QTest::keyClick(&fader, Qt::Key_Up);
  DeliverPosted();
  EXPECT_EQ(params.Value(222), 1201);
  EXPECT_EQ(LevelText(4), "0.1dB");
}

TEST_F(InputStripTest, ConsoleLevelsPlaceTheFader) {
  SkinnedFader& fader = strip(1).fader();  // CH2: fader at 93
  Arrive(params, host.bank, 93, 1001);
  EXPECT_EQ(fader.position(), 81);  // the step of 1002
  EXPECT_EQ(LevelText(1), "-19.9dB");  // the level the console holds, not the step's

  Arrive(params, host.bank, 93, 0x8000 | 1200);  // bit 15 ignored
  EXPECT_EQ(fader.position(), 180);

  Arrive(params, host.bank, 93, 1301);  // beyond the fader: it stays, the text says the level
  EXPECT_EQ(fader.position(), 180);
  EXPECT_EQ(LevelText(1), "10.1dB");

  Arrive(params, host.bank, 93, 780);
  EXPECT_EQ(LevelText(1), "-42dB");
  EXPECT_EQ(DirtyCount(params), 0);  // showing a value writes nothing
}

TEST_F(InputStripTest, PanFollowsTheConsoleAndTheMouse) {
  Arrive(params, host.bank, 49, 100);  // CH1 pan
  EXPECT_EQ(PanText(0), "L = R");
  Arrive(params, host.bank, 49, 0);
  EXPECT_EQ(PanText(0), "L 100%");
  Arrive(params, host.bank, 49, 200);
  EXPECT_EQ(PanText(0), "R 100%");
  Arrive(params, host.bank, 49, 100);
  ASSERT_EQ(DirtyCount(params), 0);

  // Thumb at the track's middle (x 30 of 60); 33 px right of the track start is 150.
  SkinnedSlider& pan = strip(0).pan();
  QTest::mousePress(&pan, Qt::LeftButton, {}, QPoint(30, 7));
  QTest::mouseMove(&pan, QPoint(41, 7));
  QTest::mouseRelease(&pan, Qt::LeftButton, {}, QPoint(41, 7));
  DeliverPosted();
  EXPECT_EQ(params.Value(49), 150);
  EXPECT_TRUE(params[49].Dirty());
  EXPECT_EQ(PanText(0), "R 50%");

  rmt4::test::Wheel(pan, QPoint(30, 7), -120);
  DeliverPosted();
  EXPECT_EQ(params.Value(49), 149);
  EXPECT_EQ(PanText(0), "R 49%");
}

TEST_F(InputStripTest, ConsolePanValuesLeaveTheKeyboardFocusWhereItWas) {
  SkinnedFader& fader = strip(3).fader();
  fader.setFocus();
  ASSERT_EQ(host.focusWidget(), &fader);
  Arrive(params, host.bank, 49, 60);
  EXPECT_EQ(host.focusWidget(), &fader);

  // So the arrow keys still go to the fader the user chose, not to CH1's pan.
  QTest::keyClick(host.focusWidget(), Qt::Key_Up);
  QTest::keyClick(host.focusWidget(), Qt::Key_Right);
  DeliverPosted();
  EXPECT_EQ(params.Value(49), 60);
  EXPECT_FALSE(params[49].Dirty());
  EXPECT_TRUE(params[222 - 43].Dirty());  // CH4's fader
}

TEST_F(InputStripTest, EffectReturnsUseTheirOwnAddressesAndThePflBusWord) {
  Arrive(params, host.bank, 1111, 1);
  Click(button(10, StripCode::Mute));
  EXPECT_EQ(params.Value(1111), 0);  // stored as "on"
  Click(button(10, StripCode::Mute));
  EXPECT_EQ(params.Value(1111), 1);

  Arrive(params, host.bank, 1148, 0);
  EXPECT_EQ(button(11, StripCode::Mute).state(), kPressed);

  params[address::kPflBus].Store(0x0001);  // AUX1 in PFL
  Click(button(11, StripCode::Pfl));
  EXPECT_EQ(params.Value(address::kPflBus), 0x0201);
  Click(button(11, StripCode::Pfl));
  EXPECT_EQ(params.Value(address::kPflBus), 0x0001);

  Arrive(params, host.bank, address::kPflBus, 0x0100);
  EXPECT_EQ(button(10, StripCode::Pfl).state(), kPressed);
  EXPECT_EQ(button(11, StripCode::Pfl).state(), kReleased);

  DragFader(strip(11).fader(), 109);
  EXPECT_EQ(params.Value(1147), 1200);
  Arrive(params, host.bank, 1110, 1300);
  EXPECT_EQ(strip(10).fader().position(), 280);
}

TEST_F(InputStripTest, ControlsAStripLacksAreParkedAndIgnoreInput) {
  // ST9/10 has no phantom power; Fx1 has no phantom power, routing or pan.
  for (const auto& [index, control, code] : {std::tuple{8, StripControl::PhantomButton, StripCode::Phantom48V},
                                             std::tuple{10, StripControl::PhantomButton, StripCode::Phantom48V},
                                             std::tuple{10, StripControl::LeftButton, StripCode::Left},
                                             std::tuple{10, StripControl::RightButton, StripCode::Right}}) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(strip(index).controlShown(control));
    SkinnedButton& absent = button(index, code);
    EXPECT_EQ(absent.y(), -1000);
    EXPECT_EQ(strip(index).childAt(absent.geometry().translated(0, 1000).center()), nullptr);
    const int before = absent.state();
    MessageBoxAnswerer watcher(QStringLiteral("&Yes"));
    Click(absent);
    EXPECT_EQ(watcher.answered(), 0);
    EXPECT_EQ(absent.state(), before);
  }
  SkinnedSlider& pan = strip(10).pan();
  EXPECT_EQ(pan.y(), -1000);
  EXPECT_EQ(strip(10).panLabel().y(), -1000);
  pan.setFocus();
  QTest::keyClick(&pan, Qt::Key_Right);
  QTest::mouseClick(&pan, Qt::LeftButton, {}, QPoint(50, 7));
  DeliverPosted();
  EXPECT_EQ(DirtyCount(params), 0);

  // Everything else of those strips is in place.
  EXPECT_TRUE(strip(8).controlShown(StripControl::Pan));
  EXPECT_EQ(button(8, StripCode::Left).y(), 204);
  EXPECT_EQ(button(10, StripCode::Pfl).y(), 126);
}

TEST_F(InputStripTest, EnterIsLeftToTheHost) {
  Click(button(6, StripCode::Enter));
  ASSERT_EQ(host.enteredStrips.size(), 1U);
  EXPECT_EQ(host.enteredStrips[0], 6);
  EXPECT_EQ(button(6, StripCode::Enter).state(), 0);  // a push button, no latch
  EXPECT_EQ(DirtyCount(params), 0);
}

TEST_F(InputStripTest, NamesAndCaptionsFollowTheLanguage) {
  EXPECT_EQ(strip(8).nameLabel().text().toStdString(), "ST9/10");
  EXPECT_EQ(strip(9).nameLabel().text().toStdString(), "DIGTAL");
  EXPECT_EQ(button(0, StripCode::Enter).text().toStdString(), "ENTER");
  EXPECT_EQ(button(0, StripCode::Phantom48V).text().toStdString(), "48V");

  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  host.bank.RefreshTexts();
  DeliverPosted();
  EXPECT_EQ(button(3, StripCode::Mute).text().toStdString(), "靜音");
  EXPECT_EQ(button(3, StripCode::Pfl).text().toStdString(), "監聽");
  EXPECT_EQ(button(3, StripCode::Left).text().toStdString(), "L");
}

TEST_F(InputStripTest, ScaleMultipliesEveryRectangle) {
  InputStrip& first = strip(0);
  first.SetScale(1.5);
  first.resize(123, 958);
  const QRect mute = first.button(StripCode::Mute).geometry();
  EXPECT_EQ(mute, QRect(15, 130, 90, 45));
  EXPECT_EQ(first.fader().geometry(), QRect(16, 489, 88, 439));
  EXPECT_EQ(first.background().image().size(), QSize(123, 958));
}

TEST(StripTexts, LevelTextPrecisionChangesAtMinusForty) {
  // The strips above show the common levels; these are the edges of the format.
  EXPECT_EQ(LevelText(805).toStdString(), "-39.5dB");
  EXPECT_EQ(LevelText(800).toStdString(), "-40.0dB");
  EXPECT_EQ(LevelText(780).toStdString(), "-42dB");
  EXPECT_EQ(LevelText(20).toStdString(), "-118dB");
  EXPECT_EQ(LevelText(795).toStdString(), "-40.5dB");  // between whole dB: the tenth is kept
  EXPECT_EQ(LevelText(0x8000 | 1200).toStdString(), "0.0dB");  // bit 15 is no level
}

}  // namespace
}  // namespace rmt4::ui::strips
