// Undo and redo as a user meets them against the console in this process:
// gestures on the real controls, Ctrl+Z and Ctrl+Y, the top bar's buttons,
// and a value the console moved in the meantime.
#include <QLineEdit>

#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "named_param.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "values/param_catalogue.h"

namespace rmt4::ui {
namespace {

constexpr int kCh3 = 2;
constexpr int kCh5 = 4;

/// A wheel notch at a time of the window system's clock.
void WheelAt(QWidget& widget, std::uint64_t timestampMs) {
  QWheelEvent event(widget.rect().center(), widget.mapToGlobal(widget.rect().center()), QPoint(), QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  event.setTimestamp(timestampMs);
  QCoreApplication::sendEvent(&widget, &event);
  test::DeliverPosted();
}

class UndoRedo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read"; }

  InputStrip& strip(int i) { return window_.window().strips().inputStrip(i); }
  EditHistory& history() { return window_.window().history(); }
  std::uint16_t OnConsole(ParamAddress address) { return window_.console().Value(address); }
  [[nodiscard]] bool ConsoleComesToHold(ParamAddress address, std::uint16_t value) {
    return test::PumpUntil([&] { return OnConsole(address) == value; }, test::ConnectedMainWindow::kWriteLimitMs);
  }
  void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&window_.window(), key, modifiers);
    test::DeliverPosted();
  }
  /// CH3's fader pressed, moved twice and released.
  void DragCh3Fader() {
    SkinnedFader& fader = strip(kCh3).fader();
    const int x = fader.width() / 2;
    const int cap = static_cast<int>(275.0 - fader.position() * (275.0 - 18.0) / fader.maxValue());
    QTest::mousePress(&fader, Qt::LeftButton, {}, QPoint(x, cap));
    QTest::mouseMove(&fader, QPoint(x, cap - 40));
    QTest::mouseMove(&fader, QPoint(x, cap - 80));
    QTest::mouseRelease(&fader, Qt::LeftButton, {}, QPoint(x, cap - 80));
    test::DeliverPosted();
  }

  test::ConnectedMainWindow window_;
};

TEST_F(UndoRedo, EachGestureIsOneStepThatTheKeysTakeBackAndDoAgainOnTheConsole) {
  struct Gesture {
    const char* name;
    int strip;
    StripCode control;
    std::function<void()> make;
    Qt::Key redo;
    Qt::KeyboardModifiers redoModifiers;
  };
  const Gesture gestures[] = {
      {"ch3.fader", kCh3, StripCode::Fader, [&] { DragCh3Fader(); }, Qt::Key_Y, Qt::ControlModifier},
      {"ch1.mute", 0, StripCode::Mute, [&] { test::Click(strip(0).button(StripCode::Mute)); }, Qt::Key_Z,
       Qt::ControlModifier | Qt::ShiftModifier},
      {"ch3.pan", kCh3, StripCode::Pan, [&] { test::Wheel(strip(kCh3).pan(), 3); }, Qt::Key_Y, Qt::ControlModifier},
      {"ch4.pan", 3, StripCode::Pan,
       [&] {
         for (int k = 0; k < 4; ++k) QTest::keyClick(&strip(3).pan(), Qt::Key_Right);
         test::DeliverPosted();
       },
       Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
      {"ch5.fader", kCh5, StripCode::Fader,
       [&] {
         for (const Qt::Key key : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_PageDown}) QTest::keyClick(&strip(kCh5).fader(), key);
         test::DeliverPosted();
       },
       Qt::Key_Y, Qt::ControlModifier},
  };
  for (const Gesture& gesture : gestures) {
    SCOPED_TRACE(gesture.name);
    const ParamAddress address = Named(gesture.name);
    const std::uint16_t before = OnConsole(address);
    const int shownBefore = strip(gesture.strip).ReadControl(gesture.control);
    const std::size_t steps = history().undoCount();
    gesture.make();
    const std::uint16_t after = window_.params().Value(address);
    const int shownAfter = strip(gesture.strip).ReadControl(gesture.control);
    ASSERT_NE(after, before);
    ASSERT_TRUE(ConsoleComesToHold(address, after));

    Keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(strip(gesture.strip).ReadControl(gesture.control), shownBefore) << "the control shows the undone value";
    EXPECT_TRUE(ConsoleComesToHold(address, before));
    EXPECT_EQ(history().undoCount(), steps) << "the whole gesture was one step";
    Keys(gesture.redo, gesture.redoModifiers);
    EXPECT_EQ(strip(gesture.strip).ReadControl(gesture.control), shownAfter);
    EXPECT_TRUE(ConsoleComesToHold(address, after));
  }
}

TEST_F(UndoRedo, WheelNotchesOnOneControlAreOneStepUntilAPauseOrAnotherControl) {
  SkinnedSlider& ch3 = strip(kCh3).pan();
  SkinnedSlider& ch4 = strip(3).pan();
  const ParamAddress ch3Pan = Named("ch3.pan");
  const ParamAddress ch4Pan = Named("ch4.pan");
  const std::uint16_t start = window_.params().Value(ch3Pan);
  const std::uint16_t ch4Start = window_.params().Value(ch4Pan);
  for (std::uint64_t at : {1000, 1200, 1400}) WheelAt(ch3, at);
  const std::uint16_t afterBurst = window_.params().Value(ch3Pan);
  WheelAt(ch3, 2000);  // after a pause: a step of its own
  WheelAt(ch4, 2100);  // another control: a step of its own
  ASSERT_NE(afterBurst, start);

  Keys(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window_.params().Value(ch4Pan), ch4Start);
  Keys(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window_.params().Value(ch3Pan), afterBurst);
  Keys(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window_.params().Value(ch3Pan), start);
}

TEST_F(UndoRedo, ATypedFieldIsOneStepTheUndoButtonTakesBackAndTheFieldKeepsItsOwnCtrlZ) {
  window_.OpenFromStrip(kCh5);
  InputEditor& editor = window_.inputEditor();
  auto& frequency = *editor.band(2).findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[1]));
  const ParamAddress address = static_cast<ParamAddress>(InputBlockBase(kCh5) + 36);
  const std::uint16_t before = OnConsole(address);
  test::TypeOver(frequency, QStringLiteral("2000"));
  QTest::keyClick(&frequency, Qt::Key_Return);
  test::DeliverPosted();
  const std::uint16_t typed = window_.params().Value(address);
  ASSERT_TRUE(ConsoleComesToHold(address, typed));
  ASSERT_NE(typed, before);

  QTest::keyClick(&frequency, Qt::Key_Z, Qt::ControlModifier);  // the field's own undo
  test::DeliverPosted();
  EXPECT_EQ(window_.params().Value(address), typed);
  SkinnedButton& undo = *window_.window().undoButton(true);
  ASSERT_TRUE(undo.isEnabled());
  EXPECT_EQ(undo.toolTip().toStdString(), "Undo: CH5 EQ band 3 frequency back from " + FormatValue(address, typed) +
                                              " to " + FormatValue(address, before));
  test::Click(undo);
  EXPECT_TRUE(ConsoleComesToHold(address, before));
  EXPECT_FALSE(undo.isEnabled());
}

TEST_F(UndoRedo, AValueTheConsoleChangedSinceIsAskedAboutAndNoKeepsIt) {
  const ParamAddress address = Named("ch3.fader");
  DragCh3Fader();
  ASSERT_TRUE(ConsoleComesToHold(address, window_.params().Value(address)));
  const std::uint16_t moved = window_.params().Value(address) == 100 ? 200 : 100;
  window_.transport().ChangeOnConsole(address, moved);
  ASSERT_TRUE(test::PumpUntil([&] { return window_.params().Value(address) == moved; }));

  QString asked;
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    asked = box.text();
    test::PressButton(box, QStringLiteral("No"));
  });
  Keys(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(asked, "CH3 fader was changed on the console since. Undo it anyway?");
  QTest::qWait(200);  // the worker's cycles: nothing is written
  EXPECT_EQ(OnConsole(address), moved);
  EXPECT_FALSE(window_.params()[address].Dirty());
}

// A cable pulled and put back: the same console is read again and the history stays.
TEST_F(UndoRedo, TheHistoryOutlivesAReconnectToTheSameConsole) {
  const ParamAddress address = Named("ch3.fader");
  const std::uint16_t before = OnConsole(address);
  DragCh3Fader();
  ASSERT_TRUE(ConsoleComesToHold(address, window_.params().Value(address)));
  const int reads = window_.link().SyncCount();
  window_.transport().SetPlugged(false);
  ASSERT_TRUE(test::PumpUntil([&] { return window_.window().button(3)->text() == "Search.."; }, 10000));
  window_.transport().SetPlugged(true);
  ASSERT_TRUE(test::PumpUntil([&] { return window_.link().SyncCount() > reads; }, 20000));
  test::DeliverPosted();

  EXPECT_EQ(window_.window().button(3)->text().toStdString(), "Successful") << "no note of another console";
  Keys(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(ConsoleComesToHold(address, before));
}

}  // namespace
}  // namespace rmt4::ui
