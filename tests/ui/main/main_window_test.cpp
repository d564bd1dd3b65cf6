// The main window with the real link worker and an emulated console in the
// same process: status, layout, languages, the tape menu, closing, strips.
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "connected_main_window.h"
#include "i18n/label_text.h"
#include "i18n/language.h"
#include "param_writes.h"
#include "rmt4_version.h"
#include "screenshot.h"
#include "sleep_watch.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_label.h"
#include "ui/editors/console_chooser.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/output_strip.h"
#include "ui/main/progress_window.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/artwork.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

using test::kStatusButton;

/// Pixels of `picture` in `area` that `picks` accepts.
int Count(const QImage& picture, const QRect& area, bool (*picks)(QColor)) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += picks(picture.pixelColor(x, y)) ? 1 : 0;
  }
  return count;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void Start(test::WindowSetup setup) { main_.emplace(std::move(setup)); }

  void StartConnected(test::WindowSetup setup = {}) {
    Start(std::move(setup));
    ASSERT_TRUE(main_->WaitForCompleteRead()) << "no complete read";
    const QString connected = QString::fromUtf8(LabelText(LabelId::Successful).data());
    ASSERT_TRUE(test::PumpUntil([&] { return StatusText() == connected; }));
  }

  MainWindow& window() { return main_->window(); }
  SkinnedButton& Button(int index) { return *window().button(index); }
  QString StatusText() { return Button(kStatusButton).text(); }

  std::optional<test::ConnectedMainWindow> main_;
};

TEST_F(MainWindowTest, TitleAndStatusFollowTheLink) {
  Start({.kind = kNetwork, .plugged = false});
  ASSERT_TRUE(test::PumpUntil([&] { return window().titleLabel()->text() == "RMT-4-NET"; }));
  EXPECT_EQ(StatusText(), "Search..");
  EXPECT_EQ(Button(kStatusButton).state(), 1);

  main_->transport().SetPlugged(true);
  ASSERT_TRUE(test::PumpUntil([&] { return StatusText() == "Successful"; }, 10000));
  EXPECT_EQ(Button(kStatusButton).state(), 2);
  // The complete read is over: its progress window is gone again.
  ASSERT_TRUE(test::PumpUntil([&] { return window().link().SyncCount() >= 1; }, 10000));
  EXPECT_TRUE(test::PumpUntil([&] { return !window().progressWindow().isVisible(); }));

  // The console falls silent: searching again.
  main_->transport().SetPlugged(false);
  EXPECT_TRUE(test::PumpUntil([&] { return StatusText() == "Search.."; }, 10000));
}

TEST_F(MainWindowTest, AConsoleThatStopsAnsweringSaysSoWithSilentMetersUntilItAnswersAgain) {
  StartConnected({.kind = kNetwork});
  const OutputStrip& output = window().strips().outputStrip();
  ASSERT_TRUE(test::PumpUntil([&] { return output.leftMeter().level() > 0 || output.rightMeter().level() > 0; }))
      << "the console plays";

  main_->transport().SetSilent(true);
  ASSERT_TRUE(test::PumpUntil([&] { return StatusText() == "No answer"; }, 5000)) << StatusText().toStdString();
  main_->transport().SetSilent(false);
  EXPECT_EQ(Button(kStatusButton).state(), 1);
  EXPECT_EQ(output.leftMeter().level(), 0);
  EXPECT_EQ(output.rightMeter().level(), 0);
  EXPECT_TRUE(test::PumpUntil([&] { return StatusText() == "Successful"; }, 5000));
}

TEST_F(MainWindowTest, TheTitleNamesTheTransport) {
  const std::vector<std::pair<ConnectionKind, QString>> kinds{
      {kUsbHid, "RMT-4-USB"}, {kNetwork, "RMT-4-NET"}, {kSerialLongTiming, "RMT-4-BT"}, {0, "RMT-4-COM"}, {7, "RMT-4-COM"}};
  for (const auto& [kind, title] : kinds) {
    Start({.kind = kind, .plugged = false});
    EXPECT_TRUE(test::PumpUntil([&] { return window().titleLabel()->text() == title; })) << title.toStdString();
    main_.reset();
  }
}

TEST_F(MainWindowTest, AnEditNotConfirmedShowsInTheStatusForAWhile) {
  StartConnected();
  PostWindowMessage(&window(), kUiNotify, static_cast<int>(UiNotify::EditNotConfirmed), 136);
  ASSERT_TRUE(test::PumpUntil([&] { return StatusText() == "Unconfirmed"; }));
  EXPECT_EQ(Button(kStatusButton).state(), 1);
  (void)test::SaveScreenshot(window(), "main_window_not_confirmed");
  EXPECT_TRUE(test::PumpUntil([&] { return StatusText() == "Successful"; }, 4000)) << "back after a few seconds";
  EXPECT_EQ(Button(kStatusButton).state(), 2);
}

// The status says how a scene upload ended; its tip lists what the console
// does not hold, as many lines as a tip can show.
TEST_F(MainWindowTest, ASceneUploadSaysInTheStatusWhatTheConsoleDidNotConfirm) {
  StartConnected();
  const SceneChange fader{"ch3.fader", 136, 0xFFFF, 0, 1100, "-inf", "-10.0 dB"};
  const QString line = QStringLiteral("\nCH3 fader: -inf \u2192 -10.0 dB");
  for (const int unconfirmed : {2, 31}) {
    main_->link().jobs().SetUploadOutcome(SceneUploadOutcome{12, std::vector<SceneChange>(unconfirmed, fader)});
    PostWindowMessage(&window(), kUiNotify, static_cast<int>(UiNotify::SceneUploaded), 0);
    const QString text = QStringLiteral("Unconfirmed: %1").arg(unconfirmed);
    ASSERT_TRUE(test::PumpUntil([&] { return StatusText() == text; })) << StatusText().toStdString();
    const QString tip = QStringLiteral("Scene uploaded: 12 changes, %1 not confirmed").arg(unconfirmed) + line.repeated(std::min(unconfirmed, 30)) + (unconfirmed > 30 ? QStringLiteral("\n\u2026") : QString());
    EXPECT_EQ(Button(kStatusButton).toolTip().toStdString(), tip.toStdString());
  }
}

TEST_F(MainWindowTest, ReTranslationRelabelsTheTopBarAndTheStatus) {
  StartConnected();
  const struct {
    LanguageIndex language;
    const char* status;
    const char* buttons[4];
  } expected[] = {
      {LanguageIndex::SimplifiedChinese, "连接成功", {"系统设置", "主界面", "录音脚踏", "网络配置"}},
      {LanguageIndex::TraditionalChinese, "連接成功", {"系統設置", "主界面", "錄音腳踏", "網絡配置"}},
      {LanguageIndex::English, "Successful", {"System Set", "Main Win", "Tape Down", "NetConf"}},
  };
  for (const auto& language : expected) {
    ASSERT_TRUE(SetCurrentLanguage(language.language));
    PostWindowMessage(&window(), kRetranslate, 0, 0);
    QCoreApplication::sendPostedEvents(&window());
    EXPECT_EQ(StatusText(), QString::fromUtf8(language.status));
    for (int j = 0; j < 4; ++j) EXPECT_EQ(Button(4 + j).text(), QString::fromUtf8(language.buttons[j]));
    EXPECT_EQ(window().strips().inputStrip(0).nameLabel().text().isEmpty(), false);
  }
  EXPECT_EQ(window().strips().inputStrip(0).nameLabel().text(), "CH1");
}

TEST_F(MainWindowTest, LayoutScalesWithTheWindowAndRefusesBelowHalfSize) {
  Start({.plugged = false});
  ASSERT_EQ(window().referenceSize(), QSize(1144, 710));
  window().resize(1716, 852);  // 1.5 × 1.2 of the reference
  QCoreApplication::processEvents();
  EXPECT_EQ(Button(4).geometry(), QRect(15, 37, 120, 22));  // x, width × 1.5; y, height × 1.2
  EXPECT_EQ(Button(3).geometry().left(), 1581);
  EXPECT_EQ(Button(0).geometry(), QRect(1672, 12, 12, 12));  // trunc(1716 − 43.5); side 10 × 1.2
  EXPECT_EQ(Button(1).geometry().left(), 1603);
  const InputStrip& first = window().strips().inputStrip(0);
  EXPECT_EQ(first.x(), 4);  // 3 × 1.5 = 4.5, fraction dropped
  EXPECT_DOUBLE_EQ(first.scale(), 1.2);
  EXPECT_EQ(first.y(), 63);  // trunc(53 × 1.2)
  EXPECT_EQ(window().titleLabel()->geometry(), QRect(10, 0, 300, 34));

  const QRect before = Button(4).geometry();
  window().resize(560, 700);  // width below half the reference
  QCoreApplication::processEvents();
  EXPECT_EQ(Button(4).geometry(), before) << "below half size the contents keep their last layout";
}

TEST_F(MainWindowTest, EdgesAndCornersResizeTheWindowWithALiveLayout) {
  Start({.plugged = false});
  ASSERT_EQ(window().size(), QSize(1144, 710));
  const struct {
    QPoint at;
    Qt::CursorShape shape;
  } grips[] = {{{1143, 355}, Qt::SizeHorCursor}, {{0, 355}, Qt::SizeHorCursor},   {{572, 0}, Qt::SizeVerCursor},
               {{572, 709}, Qt::SizeVerCursor},  {{1, 1}, Qt::SizeFDiagCursor},   {{1142, 708}, Qt::SizeFDiagCursor},
               {{1142, 1}, Qt::SizeBDiagCursor}, {{1, 708}, Qt::SizeBDiagCursor}};
  for (const auto& grip : grips) {
    const QWidget* under = window().childAt(grip.at);
    ASSERT_NE(under, nullptr) << grip.at.x() << "," << grip.at.y();
    EXPECT_EQ(under->cursor().shape(), grip.shape) << grip.at.x() << "," << grip.at.y();
  }
  EXPECT_NE(window().childAt(600, 355)->cursor().shape(), Qt::SizeHorCursor) << "only the edges resize";

  // Pressed, moved and released as the window system delivers it, from a grip to a point.
  QWindow& handle = *window().windowHandle();
  const auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(&handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(&handle, to);
    QTest::mouseRelease(&handle, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
  };
  const QPoint origin = window().pos();
  drag({1142, 355}, {1428, 355});  // the right edge, 1.25 times as wide
  EXPECT_EQ(window().geometry(), QRect(origin, QSize(1430, 710)));
  EXPECT_EQ(Button(4).geometry(), QRect(12, 31, 100, 19));
  const OutputStrip& output = window().strips().outputStrip();
  EXPECT_EQ(output.geometry().right(), 1428) << "the output strip stays at the right edge";

  drag({1427, 707}, {1713, 849});  // the bottom-right corner, to 1.5 × 1.2
  EXPECT_EQ(window().geometry(), QRect(origin, QSize(1716, 852)));
  EXPECT_EQ(Button(4).geometry(), QRect(15, 37, 120, 22));
  EXPECT_DOUBLE_EQ(window().strips().inputStrip(0).scale(), 1.2);
  EXPECT_EQ(output.geometry().right(), 1714);
  const QImage picture = window().grab().toImage();
  (void)test::SaveScreenshot(window(), "main_window_resized");
  EXPECT_EQ(picture.size(), QSize(1716, 852));

  // The top-left corner dragged far inwards stops at half the reference size, the
  // bottom-right corner staying put, and the layout still follows at that size.
  const QPoint bottomRight = window().geometry().bottomRight();
  drag({1, 1}, {2001, 1001});
  EXPECT_EQ(window().geometry(), QRect(bottomRight - QPoint(571, 354), QSize(572, 355)));
  EXPECT_DOUBLE_EQ(window().strips().inputStrip(0).scale(), 0.5);
  EXPECT_EQ(Button(4).geometry(), QRect(5, 15, 40, 9));
}

TEST_F(MainWindowTest, TapeMenuWritesAndChecksItsParameters) {
  Start({.plugged = false});
  ParamTable& params = window().link().params();
  // Picks an item once the menu is open, with the keys a user would press:
  // down to the submenu, into it, down to the item, Enter.
  const auto pick = [](int submenu, int item) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, submenu, item] {
      if (QApplication::activePopupWidget() == nullptr) return;
      timer->stop();
      timer->deleteLater();
      const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::activePopupWidget(), key); };
      for (int i = 0; i <= submenu; ++i) press(Qt::Key_Down);
      press(Qt::Key_Right);
      for (int i = 0; i < item; ++i) press(Qt::Key_Down);
      press(Qt::Key_Return);
    });
    timer->start(5);
  };

  params[address::kFootSwitch].ClearDirty();
  pick(1, 1);  // FOOT SW, Fx2
  test::Click(Button(6));
  EXPECT_EQ(params.Value(address::kFootSwitch), 2);
  EXPECT_TRUE(params[address::kFootSwitch].Dirty());

  pick(0, 1);  // Record, USB
  test::Click(Button(6));
  EXPECT_EQ(params.Value(address::kRecordingDevice), 1);
  EXPECT_TRUE(params[address::kRecordingDevice].Dirty());

  const std::unique_ptr<QMenu> menu = window().BuildTapeMenu();
  QStringList checked;
  for (QAction* entry : menu->actions()) {
    for (QAction* choice : entry->menu()->actions()) {
      if (choice->isChecked()) checked << choice->text();
    }
  }
  EXPECT_EQ(checked, QStringList({"USB", "Fx2"}));
}

TEST_F(MainWindowTest, TheAboutBoxNamesTheProgramAndItsVersionInTheInterfaceLanguage) {
  Start({.plugged = false});
  const std::string version = kVersion;
  const struct {
    LanguageIndex language;
    std::string caption;
    std::string line;
  } expected[] = {
      {LanguageIndex::SimplifiedChinese, "关于 RMT-4 Remote", "RMT-4 Remote，" + version + " 版"},
      {LanguageIndex::TraditionalChinese, "關於 RMT-4 Remote", "RMT-4 Remote，" + version + " 版"},
      {LanguageIndex::English, "About RMT-4 Remote", "RMT-4 Remote, version " + version},
  };
  for (const auto& language : expected) {
    ASSERT_TRUE(SetCurrentLanguage(language.language));
    QString item, title, text;
    QTimer user;  // picks the menu's first item with the keys once the menu is open
    QObject::connect(&user, &QTimer::timeout, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        user.stop();
        item = menu->actions().value(0)->text();
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
      }
    });
    user.start(5);
    test::AnswerNextMessageBox([&](QMessageBox& box) {
      title = box.windowTitle();
      text = box.text();
      box.accept();
    });
    // Through the window system, which turns a right click into a context-menu request.
    QTest::mouseClick(window().windowHandle(), Qt::RightButton, {}, QPoint(window().width() / 3, 10));  // the caption band
    ASSERT_TRUE(test::PumpUntil([&] { return !title.isEmpty(); })) << "menu item: " << item.toStdString();
    EXPECT_EQ(item.toStdString(), language.caption + "...");
    EXPECT_EQ(title.toStdString(), language.caption);
    EXPECT_EQ(text.toStdString(), language.line);
  }
}

TEST_F(MainWindowTest, ClosingAsksAndOnlyYesStopsTheLink) {
  StartConnected();
  test::AnswerNextMessageBox([](QMessageBox& box) {
    EXPECT_EQ(box.text(), "Whether to exit the program!");
    EXPECT_EQ(box.windowTitle(), "Tip!");
    EXPECT_TRUE(test::PressButton(box, "No"));
  });
  test::Click(Button(0));
  ASSERT_TRUE(test::PumpUntil([&] { return test::OpenMessageBox() == nullptr; }));
  QTest::qWait(50);
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(window().link().context().appRunning.load());
  const int cycles = window().link().SyncCount();
  EXPECT_TRUE(window().link().linkUp()) << cycles;

  QElapsedTimer clock;
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    clock.start();
    EXPECT_TRUE(test::PressButton(box, "Yes"));
  });
  window().close();
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().link().context().appRunning.load());
  EXPECT_FALSE(window().link().linkUp());
  EXPECT_LT(clock.elapsed(), 2000) << "the link stops within its limit";
}

// A sleep or a timed wait anywhere on the way out shows here on any machine,
// where the time the close takes would depend on the machine's load.
TEST_F(MainWindowTest, YesClosesWithoutASleepOrATimedWait) {
  StartConnected();
  test::SleepWatch watch;
  // The worker only once it is told to stop: its waits until then are its work.
  const RunFlag& running = window().link().context().appRunning;
  watch.Watch(main_->transport().linkThread(), [&running] { return !running.load(); });
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    watch.Watch(std::this_thread::get_id());
    EXPECT_TRUE(test::PressButton(box, "Yes"));
  });
  window().close();
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(window().link().context().appRunning.load()) << "the link worker has stopped";
  EXPECT_EQ(watch.Waits(), std::vector<std::string>{}) << "closing sleeps or waits on a timer";
}

TEST_F(MainWindowTest, MainWinShowsTheStripsAndRefreshesEveryShownAddress) {
  StartConnected();
  window().strips().SetVisible(false);
  test::Click(Button(5));
  EXPECT_TRUE(window().strips().inputStrip(0).isVisible());
  ParamTable& params = window().link().params();
  // The worker posts (and so clears) every flag of 1..1213 at its next cycle.
  EXPECT_TRUE(test::PumpUntil([&] {
    for (ParamAddress a = 1; a <= 1213; ++a) {
      if (params[a].received.load()) return false;
    }
    return true;
  }));
}

TEST_F(MainWindowTest, EditsReachTheConsoleAndConsoleChangesReachTheStrips) {
  StartConnected();
  ParamTable& params = window().link().params();
  InputStrip& ch3 = window().strips().inputStrip(2);

  // A fader moved on the console (CH3: 46 + 43 × 2 + 4) moves the strip's fader.
  const int before = ch3.fader().position();
  main_->transport().ChangeOnConsole(136, 1200);
  ASSERT_TRUE(test::PumpUntil([&] { return ch3.ReadControl(StripCode::Fader) == 1200; }));
  EXPECT_NE(ch3.fader().position(), before);

  // MUTE pressed in the window reaches the console.
  const std::vector<std::uint16_t> snapshot = test::Snapshot(params);
  test::Click(ch3.button(StripCode::Mute));
  const std::vector<ParamAddress> changed = test::WaitForWrites(params, snapshot);
  ASSERT_FALSE(changed.empty()) << "MUTE wrote nothing";
  EXPECT_TRUE(test::PumpUntil([&] {
    for (ParamAddress a : changed) {
      if (main_->console().Value(a) != params.Value(a)) return false;
    }
    return true;
  }));
}

TEST_F(MainWindowTest, SeveralConsolesFoundLetTheUserPickOne) {
  Start({.kind = kNetwork, .plugged = false});
  // The network search hands its finds to the main window and waits for the choice.
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer] {
    auto* chooser = dynamic_cast<ConsoleChooser*>(QApplication::activeModalWidget());
    if (chooser == nullptr) return;
    timer->stop();
    timer->deleteLater();
    QTableWidget& list = chooser->list();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1, 0)).center());
  });
  timer->start(5);
  std::optional<std::uint32_t> chosen;
  std::atomic<bool> done{false};
  std::thread discovery([&] {
    chosen = window().link().context().owner.ChooseConsole({0x7F000002, 0x7F000003, 0x7F000004});
    done.store(true);
  });
  EXPECT_TRUE(test::PumpUntil([&] { return done.load(); }));
  discovery.join();
  EXPECT_EQ(chosen, 0x7F000003u);
}

TEST_F(MainWindowTest, Screenshots) {
  for (const LanguageIndex language : {LanguageIndex::English, LanguageIndex::SimplifiedChinese}) {
    StartConnected({.language = language});
    QTest::qWait(200);  // a few meter polls
    (void)test::SaveScreenshot(window(), language == LanguageIndex::English ? "main_window_english"
                                                                           : "main_window_simplified_chinese");
    const QImage picture = window().grab().toImage();
    // The background picture shows between the strips, in the gap before strip 10.
    const QPoint gap(window().strips().inputStrip(9).x() - 10, 400);
    EXPECT_EQ(picture.pixelColor(gap), LoadArtwork(133).pixelColor(gap));
    EXPECT_GT(Count(picture, window().titleLabel()->geometry(), [](QColor c) { return c.lightness() < 90; }), 30)
        << "the title's dark letters on the light caption band";
    const QRect status = Button(kStatusButton).geometry();
    EXPECT_GT(Count(picture, status, [](QColor c) { return c.lightness() > 200; }), 30) << "the status text";
    const QColor face = picture.pixelColor(status.left() + 4, status.center().y());
    EXPECT_GT(face.blue(), face.red() + 20) << "the connected status is lit blue";
    main_.reset();
  }
}

}  // namespace
}  // namespace rmt4::ui
