// The output editors as a user of the demo meets them: ENTER on the output
// strip opens MAIN or the AUX bus the strip shows; edits by hand reach the
// emulated console and the console's changes appear in the open editor.
#include <QLineEdit>

#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/output_editor.h"
#include "ui/editors/output_editor_inventory.h"
#include "ui/main/output_strip.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using namespace output_editor;

constexpr int kStripsButton = 5;
constexpr int kFirstBusButton = 6;
constexpr int kAux6 = 6;
constexpr ParamAddress kMainBand13Gain = 988 + 4 * 12;
constexpr ParamAddress kAux6Feedback = 562 + 68 * 5 + 8;

class OutputEditorEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read"; }

  OutputEditor& Shown(PanelKind kind) {
    auto& editor = dynamic_cast<OutputEditor&>(*window_.frame().panel(kind));
    EXPECT_TRUE(editor.isVisible());
    return editor;
  }

  test::ConnectedMainWindow window_;
};

TEST_F(OutputEditorEndToEnd, MainAndAux6EditedByHandReachTheConsoleAndFollowIt) {
  OutputStrip& strip = window_.window().strips().outputStrip();
  test::Click(strip.button(StripCode::Enter));
  ASSERT_TRUE(window_.frame().isVisible());
  ASSERT_EQ(window_.frame().selectedChannel(), kMainChannel);
  OutputEditor& main = Shown(PanelKind::MainOutput);

  // The left delay, with the keyboard, in view at the start.
  SkinnedSlider& leftDelay = main.slider(kLeftDelaySlider);
  leftDelay.setFocus();
  for (int step = 0; step < 12; ++step) QTest::keyClick(&leftDelay, Qt::Key_Right);
  EXPECT_GE(main.ReadControl(output_code::kLeftDelay), 120);
  EXPECT_TRUE(window_.ReachesConsole(main, output_code::kLeftDelay, address::kMainLeftDelay));

  // Band 13 lies at the far end: scroll there and type its gain.
  QScrollBar& bar = main.scrollBar();
  test::ClickRightArrow(bar);
  auto* gain = main.band(12).findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[0]));
  ASSERT_NE(gain, nullptr);
  ASSERT_TRUE(main.rect().contains(QRect(gain->mapTo(&main, QPoint(0, 0)), gain->size())));
  test::TypeOver(*gain, "-4.5");
  QTest::keyClick(gain, Qt::Key_Return);
  EXPECT_EQ(main.ReadControl(editor_code::kBandGain + 12), 455);
  EXPECT_TRUE(window_.ReachesConsole(main, editor_code::kBandGain + 12, kMainBand13Gain));

  // Back to the strips, AUX6 on the output strip, ENTER: the AUX editor on AUX6.
  test::Click(*window_.window().button(kStripsButton));
  test::Click(strip.button(kFirstBusButton + kAux6));
  test::Click(strip.button(StripCode::Enter));
  ASSERT_EQ(window_.frame().selectedChannel(), kMainChannel + kAux6);
  OutputEditor& aux = Shown(PanelKind::AuxOutput);
  EXPECT_EQ(aux.channel(), kMainChannel + kAux6);
  SkinnedSlider& feedback = aux.slider(kFeedbackSuppressorSlider);
  feedback.setFocus();
  for (int step = 0; step < 3; ++step) QTest::keyClick(&feedback, Qt::Key_Right);
  EXPECT_EQ(aux.ReadControl(output_code::kFeedbackSuppressor), 3);
  EXPECT_TRUE(window_.ReachesConsole(aux, output_code::kFeedbackSuppressor, kAux6Feedback));

  // Changed on the console: the open editor follows.
  window_.transport().ChangeOnConsole(kAux6Feedback, 1);
  EXPECT_TRUE(test::PumpUntil([&] { return aux.ReadControl(output_code::kFeedbackSuppressor) == 1; }, 5000));
  EXPECT_EQ(feedback.captionText(), "FEBK:FB1");
}

}  // namespace
}  // namespace rmt4::ui
