// The History window as a user meets it: Ctrl+H or the top bar's button
// opens it, today's changes newest first with those made meanwhile, a channel
// picked in its filter, a double-click on a PC step; a log that cannot be
// written is said in the status field.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "connected_main_window.h"
#include "history/change_log_files.h"
#include "screenshot.h"
#include "ui/controls/skinned_button.h"
#include "ui/main/history_window.h"
#include "ui/main/input_strip.h"
#include "ui/main/strip_bank.h"
#include "ui/main/main_window.h"
#include "values/param_catalogue.h"

namespace rmt4::ui {
namespace {

using test::kStatusButton;

class HistoryWindowTest : public ::testing::Test {
 protected:
  MainWindow& window() { return main_.window(); }
  ChangeLog& log() { return window().changeLog(); }
  HistoryWindow& history() { return *window().historyWindow(); }
  QTableWidget& table() { return history().table(); }

  /// One step on `name`, now.
  void Record(ChangeSource source, std::uint64_t step, std::string_view name, std::uint16_t before, std::uint16_t after) {
    log().Record({WallClockMs(), source, step, {{*FindParam(name), before, after}}});
  }

  /// The rows as "who name change", top first.
  std::vector<std::string> Rows() {
    test::DeliverPosted();
    std::vector<std::string> rows;
    for (int row = 0; row < table().rowCount(); ++row) {
      const auto text = [&](int column) {
        const QTableWidgetItem* item = table().item(row, column);
        return item == nullptr ? std::string() : item->text().toStdString();
      };
      rows.push_back(text(HistoryWindow::kWho) + " " + text(HistoryWindow::kParameter) + " " +
                     text(HistoryWindow::kChange));
    }
    return rows;
  }

  /// What the window system delivers for a double-click: press, release, double-click, release.
  void DoubleClickRow(int row) {
    QWidget* viewport = table().viewport();
    const QPoint at = table().visualItemRect(table().item(row, 0)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
  }

  test::ConnectedMainWindow main_;
};

TEST_F(HistoryWindowTest, CtrlHOrTheButtonOpensTodaysChangesNewestFirstAndNewOnesComeIn) {
  Record(ChangeSource::kPc, 1, "ch1.mute", 8, 0);
  Record(ChangeSource::kConsole, 0, "ch3.fader", 0, *ParseValue(*FindParam("ch3.fader"), "-6dB").raw);
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(&window(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_NE(window().historyWindow(), nullptr);
  EXPECT_TRUE(history().isVisible());
  EXPECT_EQ(history().windowTitle(), "History");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Console ch3.fader -inf → -6.0 dB", "PC ch1.mute OFF → ON"}));

  // Made while it is open: on top at once.
  Record(ChangeSource::kUndo, 1, "ch1.mute", 0, 8);
  EXPECT_EQ(Rows().front(), "Undo ch1.mute ON → OFF");
  test::SaveScreenshot(history(), "history_window");

  history().close();
  test::Click(*window().historyButton());
  EXPECT_TRUE(history().isVisible());
  EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(HistoryWindowTest, AChannelPickedInTheFilterAndADoubleClickOnAPcStepAsksToUndoBackToIt) {
  Record(ChangeSource::kPc, 7, "ch2.fader", 0, 1);
  Record(ChangeSource::kConsole, 0, "aux2.mute", 0, 1);
  Record(ChangeSource::kPc, 8, "ch2.pan", 100, 90);
  Record(ChangeSource::kUndo, 8, "ch2.pan", 90, 100);
  window().ShowHistory();
  QComboBox& filter = history().channelFilter();
  QTest::mouseClick(&filter, Qt::LeftButton);
  QAbstractItemView& list = *filter.view();
  ASSERT_TRUE(test::PumpUntil([&] { return list.isVisible(); }));
  // The list takes no release within a double-click time of its opening.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  const int ch2 = filter.findText("CH2");
  ASSERT_GE(ch2, 0);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(ch2, 0)).center());
  ASSERT_EQ(filter.currentText(), "CH2");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Undo ch2.pan L10 → C", "PC ch2.pan C → L10",
                                              "PC ch2.fader -inf → -119.9 dB"}));

  QSignalSpy asked(&history(), &HistoryWindow::undoBackToRequested);
  DoubleClickRow(2);
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.front().front().toULongLong(), 7u);
  // An undo is no step of its own to go back to.
  DoubleClickRow(0);
  EXPECT_EQ(asked.count(), 1);
}

TEST_F(HistoryWindowTest, ADoubleClickOnAnEarlierMuteUndoesEveryStepBackToIt) {
  ASSERT_TRUE(main_.WaitForCompleteRead());
  const ParamAddress ch1 = *FindParam("ch1.mute");
  const ParamAddress ch2 = *FindParam("ch2.mute");
  const std::uint16_t ch1Before = main_.params().Value(ch1);
  const std::uint16_t ch2Before = main_.params().Value(ch2);
  test::Click(window().strips().inputStrip(0).button(StripCode::Mute));
  test::Click(window().strips().inputStrip(1).button(StripCode::Mute));
  ASSERT_NE(main_.params().Value(ch2), ch2Before);
  window().ShowHistory();
  ASSERT_EQ(Rows(), (std::vector<std::string>{"PC ch2.mute OFF → ON", "PC ch1.mute OFF → ON"}));
  DoubleClickRow(1);
  test::DeliverPosted();
  EXPECT_EQ(main_.params().Value(ch1), ch1Before);
  EXPECT_EQ(main_.params().Value(ch2), ch2Before);
  EXPECT_EQ(window().strips().inputStrip(0).button(StripCode::Mute).state(), 1) << "the strip shows it unmuted";
}

TEST_F(HistoryWindowTest, ALogThatCannotBeWrittenIsSaidInTheStatusField) {
  ASSERT_TRUE(main_.WaitForCompleteRead());
  ASSERT_TRUE(test::PumpUntil([&] { return window().button(kStatusButton)->text() == "Successful"; }));
  const std::filesystem::path today = ChangeLogPath(main_.state(), ToLocalMoment(WallClockMs()).day, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return std::filesystem::is_directory(main_.state()); }));
  std::filesystem::create_symlink("/dev/full", today);
  Record(ChangeSource::kPc, 1, "ch1.mute", 8, 0);
  EXPECT_TRUE(test::PumpUntil([&] {
    return window().button(kStatusButton)->text().startsWith("The change log cannot be written:");
  })) << window().button(kStatusButton)->text().toStdString();
}

}  // namespace
}  // namespace rmt4::ui
