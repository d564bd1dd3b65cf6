// The whole program by keyboard, mouse unplugged: Tab through the strips and
// the editor, keys on the faders, sliders and buttons, the window's shortcuts,
// each edit followed to the emulated console.
#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "connected_main_window.h"
#include "named_param.h"
#include "screenshot.h"
#include "protocol/address_map.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor_inventory.h"
#include "ui/main/output_strip.h"
#include "values/editor_codes.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

constexpr int kKeysCh1 = 0;
constexpr int kKeysCh2 = 1;
constexpr int kKeysCh3 = 2;
constexpr int kKeysCh5 = 4;
constexpr int kKeysBand2 = 1;
// Band gains in an input channel's block: band 1's, then every fourth word.
constexpr int kKeysBand1GainOffset = 29;

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read";
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  MainWindow& window() { return window_.window(); }
  InputStrip& strip(int index) { return window().strips().inputStrip(index); }
  static QWidget* Focused() { return QApplication::focusWidget(); }

  /// Presses `key` on whatever has the keyboard, as a user does, and lets what it posted through.
  static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(Focused(), static_cast<Qt::Key>(key), modifiers);
    test::DeliverPosted();
  }

  /// Tabs until `target` has the keyboard; false when Tab never reaches it.
  static bool TabTo(const QWidget& target) {
    for (int presses = 0; presses < 400 && Focused() != &target; ++presses) Press(Qt::Key_Tab);
    return Focused() == &target;
  }

  /// Whether the console comes to hold `value` at `address`.
  bool ConsoleHolds(ParamAddress address, std::uint16_t value) {
    return test::PumpUntil([&] { return window_.console().Value(address) == value; },
                           test::ConnectedMainWindow::kWriteLimitMs);
  }

  test::ConnectedMainWindow window_;
};

TEST_F(KeyboardTest, TabWalksTheStripsLeftToRightAndEachFromTheTopDown) {
  std::vector<const QWidget*> expected;
  for (int i = 0; i < kInputStripCount; ++i) {
    const InputStrip& each = strip(i);
    expected.insert(expected.end(),
                    {&each.button(StripCode::Enter), &each.button(StripCode::Mute), &each.button(StripCode::Pfl)});
    if (i < 8) expected.push_back(&each.button(StripCode::Phantom48V));
    // The effect returns have no routing and no pan.
    if (i != kFx1Strip && i != kFx2Strip) {
      expected.insert(expected.end(), {&each.button(StripCode::Left), &each.button(StripCode::Right), &each.pan()});
    }
    expected.push_back(&each.fader());
  }
  const OutputStrip& output = window().strips().outputStrip();
  expected.push_back(&output.button(StripCode::Enter));

  ASSERT_TRUE(TabTo(strip(kKeysCh1).button(StripCode::Enter)));
  std::vector<const QWidget*> walked{Focused()};
  while (walked.size() < expected.size()) {
    Press(Qt::Key_Tab);
    walked.push_back(Focused());
  }
  EXPECT_EQ(walked, expected);
  Press(Qt::Key_Backtab);
  EXPECT_EQ(Focused(), &strip(kFx2Strip).fader()) << "Shift+Tab walks back";
}

TEST_F(KeyboardTest, MouseUnpluggedFaderMuteAndEditorKeysReachTheConsole) {
  // CH3's fader: End stops at 0 dB, not +10 dB; Page Down twice is twenty steps.
  ASSERT_TRUE(TabTo(strip(kKeysCh3).fader()));
  Press(Qt::Key_End);
  EXPECT_TRUE(ConsoleHolds(Named("ch3.fader"), LevelAtStep(ZeroDbStep())));
  EXPECT_EQ(LevelDb(LevelAtStep(ZeroDbStep())), 0.0);
  Press(Qt::Key_PageDown);
  Press(Qt::Key_PageDown);
  EXPECT_TRUE(ConsoleHolds(Named("ch3.fader"), LevelAtStep(ZeroDbStep() - 20)));
  test::SaveScreenshot(window(), "keyboard_on_ch3_fader");

  // Space on CH1's MUTE; Ctrl+M on CH2's fader mutes CH2.
  using MuteCase = std::tuple<int, QWidget*, Qt::Key, Qt::KeyboardModifiers>;
  for (auto [channel, control, key, modifiers] : {MuteCase{kKeysCh1, &strip(kKeysCh1).button(StripCode::Mute), Qt::Key_Space, {}},
                                                  MuteCase{kKeysCh2, &strip(kKeysCh2).fader(), Qt::Key_M, Qt::ControlModifier}}) {
    ASSERT_TRUE(TabTo(*control));
    const ParamAddress mute = Named("ch" + std::to_string(channel + 1) + ".mute");
    const std::uint16_t before = window_.console().Value(mute);
    Press(key, modifiers);
    EXPECT_EQ(strip(channel).button(StripCode::Mute).state(), 2) << "shown pressed";
    EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(mute) != before; })) << channel;
  }

  // Enter on CH5's pan opens its editor; the arrows change band 2's gain; Escape goes back.
  ASSERT_TRUE(TabTo(strip(kKeysCh5).pan()));
  Press(Qt::Key_Enter);
  ASSERT_EQ(window().editorFrame().selectedChannel(), kKeysCh5);
  ASSERT_TRUE(window().editorFrame().isVisible());
  BandPanel& band2 = window_.inputEditor().band(kKeysBand2);
  ASSERT_TRUE(TabTo(band2));
  const double gain = band2.gain();
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);
  EXPECT_GT(band2.gain(), gain);
  EXPECT_TRUE(window_.ReachesConsole(window_.inputEditor(), editor_code::kBandGain + kKeysBand2,
                                     static_cast<ParamAddress>(InputBlockBase(kKeysCh5) + kKeysBand1GainOffset + 4 * kKeysBand2)));
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused()->parentWidget(), &band2) << "then the band's own fields";
  Press(Qt::Key_Backtab);
  Press(Qt::Key_Escape);
  EXPECT_TRUE(strip(kKeysCh5).isVisible());
  EXPECT_EQ(Focused(), &strip(kKeysCh5).button(StripCode::Enter));
}

TEST_F(KeyboardTest, ShortcutsChooseChannelsAndMuteTheEditedOneButNotWhileAFieldIsTyped) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int channel;
  };
  for (const Case& c : {Case{Qt::Key_3, Qt::ControlModifier, kKeysCh3}, Case{Qt::Key_0, Qt::ControlModifier, kDigitalChannel},
                        Case{Qt::Key_F9, {}, kLastEditorChannel}, Case{Qt::Key_8, Qt::ControlModifier, 7}}) {
    Press(c.key, c.modifiers);
    EXPECT_TRUE(window().editorFrame().isVisible());
    EXPECT_EQ(window().editorFrame().selectedChannel(), c.channel)
        << QKeySequence(c.key | c.modifiers).toString().toStdString();
  }

  // The keys are named where a channel is opened or chosen.
  EXPECT_EQ(strip(kKeysCh3).button(StripCode::Enter).toolTip(), "CH3 (Ctrl+3)");
  EXPECT_EQ(window().editorFrame().selector(1).itemData(0, Qt::ToolTipRole).toString(), "MAIN (F3)");

  // Ctrl+M in the editor: the edited channel's MUTE (CH8's now).
  const ParamAddress mute = Named("ch8.mute");
  const std::uint16_t before = window_.console().Value(mute);
  Press(Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(mute) != before; }));

  // Typing into a band's field: the keys are the field's.
  auto& field = *window_.inputEditor().band(kKeysBand2).findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[0]));
  QTest::mouseClick(&field, Qt::LeftButton);
  ASSERT_EQ(Focused(), &field);
  Press(Qt::Key_3, Qt::ControlModifier);
  Press(Qt::Key_F3);
  Press(Qt::Key_M, Qt::ControlModifier);
  Press(Qt::Key_Escape);
  EXPECT_TRUE(window().editorFrame().isVisible());
  EXPECT_EQ(window().editorFrame().selectedChannel(), 7);
  EXPECT_EQ(window_.params().Value(mute), window_.console().Value(mute));
  EXPECT_NE(window_.console().Value(mute), before) << "Ctrl+M in the field muted nothing";
}

// End takes a level only as far as 0 dB: on a send as on a fader, and on the input gain.
TEST_F(KeyboardTest, EndStopsTheGainAndTheSendsAt0dB) {
  Press(Qt::Key_5, Qt::ControlModifier);
  constexpr std::uint16_t kSendLevelBits = 0x7FFF;  // bit 15 is pre/post
  const std::tuple<int, std::string, std::uint16_t, std::uint16_t> cases[] = {
      {input_editor::kGainSlider, "ch5.gain", 0xFFFF, kGainUnityStep},
      {input_editor::kFirstAuxSlider, "ch5.send.aux1", kSendLevelBits, LevelAtStep(ZeroDbStep())}};
  for (const auto& [index, name, bits, expected] : cases) {
    ASSERT_TRUE(TabTo(window_.inputEditor().slider(index))) << name;
    Press(Qt::Key_End);
    EXPECT_TRUE(test::PumpUntil([&] { return (window_.console().Value(Named(name)) & bits) == expected; },
                                test::ConnectedMainWindow::kWriteLimitMs))
        << name << " holds " << window_.console().Value(Named(name));
  }
}

TEST_F(KeyboardTest, TheEditorsTabGoesFromTheHeaderToThePanelAndBringsWhatItReachesIntoView) {
  Press(Qt::Key_5, Qt::ControlModifier);
  InputEditor& editor = window_.inputEditor();
  ASSERT_TRUE(TabTo(window().editorFrame().fader(1)));  // the header's last stop
  Press(Qt::Key_Tab);
  EXPECT_TRUE(editor.isAncestorOf(Focused()));
  // The compressor's release, far right on the content: out of view until Tab reaches it.
  constexpr int kReleaseSlider = 15;
  SkinnedSlider& release = editor.slider(kReleaseSlider);
  const auto inView = [&] {
    return editor.rect().contains(QRect(release.mapTo(&editor, QPoint(0, 0)), release.size()));
  };
  ASSERT_FALSE(inView());
  ASSERT_TRUE(TabTo(release));
  EXPECT_TRUE(inView());
}

}  // namespace
}  // namespace rmt4::ui
