// The main window with the channel editor frame: ENTER opens it on the
// strip's channel, the console's changes and meters reach it, "Main Win"
// brings the strips back.
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "editors/fake_editor_panel.h"
#include "emulator/console_responder.h"
#include "i18n/language.h"
#include "in_process_console.h"
#include "modal_answer.h"
#include "screenshot.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/level_meter.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/main/main_window.h"
#include "ui/main/input_strip.h"
#include "ui/main/output_strip.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

constexpr int kMainWinButton = 5;

class MainWindowEditorTest : public ::testing::Test {
 protected:
  MainWindowEditorTest() {
    folder_ = std::filesystem::temp_directory_path() / ("rmt4-ui-editor-" + std::to_string(::getpid()));
    LinkWorker::Options options;
    options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<test::InProcessConsole>(context, console_);
      transport_.store(transport.get());
      return transport;
    };
    options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
    options.sceneFolders = AppFolders{folder_ / "scenes", folder_ / "fallback"};
    window_ = std::make_unique<MainWindow>(std::move(options), test::MakeFakePanels);
    window_->show();
  }
  ~MainWindowEditorTest() override {
    window_.reset();
    (void)SetCurrentLanguage(LanguageIndex::English);
    std::filesystem::remove_all(folder_);
  }

  void Click(QWidget& widget) {
    QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.rect().center());
    QCoreApplication::sendPostedEvents();
  }
  [[nodiscard]] bool StripsShown() { return window_->strips().inputStrip(0).isVisible(); }

  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};
  std::atomic<test::InProcessConsole*> transport_{nullptr};
  std::filesystem::path folder_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowEditorTest, EnterOpensTheEditorAndMainWinReturnsToTheStrips) {
  (void)SetCurrentLanguage(LanguageIndex::English);
  ASSERT_TRUE(test::PumpUntil([&] { return window_->link().SyncCount() >= 1; }, 10000)) << "no complete read";
  ChannelEditorFrame& frame = window_->editorFrame();
  EXPECT_FALSE(frame.isVisible());
  EXPECT_EQ(frame.geometry().topLeft(), QPoint(0, 51));

  Click(window_->strips().inputStrip(2).button(StripCode::Enter));
  ASSERT_TRUE(frame.isVisible());
  EXPECT_FALSE(StripsShown());
  EXPECT_EQ(frame.selectedChannel(), 2);
  test::FakeEditorPanel& panel = test::FakePanel(frame, PanelKind::Channel);
  EXPECT_EQ(panel.channel(), 2);
  (void)test::SaveScreenshot(*window_, "main_window_editor_ch3");

  // Live: a band gain changed on the console; the meters (which the console
  // measures itself) show what the main output strip's meters show.
  const auto band1Gain = static_cast<ParamAddress>(InputBlockBase(2) + 29);
  transport_.load()->ChangeOnConsole(band1Gain, 620);
  EXPECT_TRUE(test::PumpUntil([&] { return panel.values[editor_code::kBandGain] == 620; }, 5000));
  const OutputStrip& output = window_->strips().outputStrip();
  EXPECT_TRUE(test::PumpUntil([&] {
    return frame.meter(0).level() + frame.meter(1).level() > 0 && frame.meter(0).level() == output.leftMeter().level() &&
           frame.meter(1).level() == output.rightMeter().level();
  }, 5000));

  (void)SetCurrentLanguage(LanguageIndex::SimplifiedChinese);
  PostWindowMessage(window_.get(), kRetranslate, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return frame.button(ChannelEditorFrame::kInputEnter).text() == QString::fromUtf8("进入"); }));

  Click(*window_->button(kMainWinButton));
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(StripsShown());

  // The output strip opens the bus it shows (MAIN at start).
  Click(window_->strips().outputStrip().button(StripCode::Enter));
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(frame.selectedChannel(), kMainChannel);
}

}  // namespace
}  // namespace rmt4::ui
