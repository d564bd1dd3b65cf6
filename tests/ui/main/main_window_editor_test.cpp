// The main window with the channel editor frame: ENTER opens it on the
// strip's channel, the console's changes and meters reach it, "Main Win"
// brings the strips back.
#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "editors/fake_editor_panel.h"
#include "i18n/language.h"
#include "screenshot.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/output_strip.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

constexpr int kMainWinButton = 5;

class MainWindowEditorTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool StripsShown() { return window().strips().inputStrip(0).isVisible(); }
  MainWindow& window() { return main_.window(); }

  test::ConnectedMainWindow main_{{.panels = test::MakeFakePanels}};
};

TEST_F(MainWindowEditorTest, EnterOpensTheEditorAndMainWinReturnsToTheStrips) {
  ASSERT_TRUE(main_.WaitForCompleteRead()) << "no complete read";
  ChannelEditorFrame& frame = main_.frame();
  EXPECT_FALSE(frame.isVisible());
  EXPECT_EQ(frame.geometry().topLeft(), QPoint(0, 51));

  main_.OpenFromStrip(2);
  ASSERT_TRUE(frame.isVisible());
  EXPECT_FALSE(StripsShown());
  EXPECT_EQ(frame.selectedChannel(), 2);
  test::FakeEditorPanel& panel = test::FakePanel(frame, PanelKind::Channel);
  EXPECT_EQ(panel.channel(), 2);
  (void)test::SaveScreenshot(window(), "main_window_editor_ch3");

  // Live: a band gain changed on the console; the meters (which the console
  // measures itself) show what the main output strip's meters show.
  const auto band1Gain = static_cast<ParamAddress>(InputBlockBase(2) + 29);
  main_.transport().ChangeOnConsole(band1Gain, 620);
  EXPECT_TRUE(test::PumpUntil([&] { return panel.values[editor_code::kBandGain] == 620; }, 5000));
  const OutputStrip& output = window().strips().outputStrip();
  EXPECT_TRUE(test::PumpUntil([&] {
    return frame.meter(0).level() + frame.meter(1).level() > 0 && frame.meter(0).level() == output.leftMeter().level() &&
           frame.meter(1).level() == output.rightMeter().level();
  }, 5000));

  (void)SetCurrentLanguage(LanguageIndex::SimplifiedChinese);
  PostWindowMessage(&window(), kRetranslate, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return frame.button(ChannelEditorFrame::kInputEnter).text() == QString::fromUtf8("进入"); }));

  test::Click(*window().button(kMainWinButton));
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(StripsShown());

  // The output strip opens the bus it shows (MAIN at start).
  test::Click(window().strips().outputStrip().button(StripCode::Enter));
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(frame.selectedChannel(), kMainChannel);
}

}  // namespace
}  // namespace rmt4::ui
