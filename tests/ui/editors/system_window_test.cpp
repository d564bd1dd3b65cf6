// The System window driven as a user does: right-click menus, the in-place
// editors, the selectors; offline (jobs stay raised) and against the
// emulated console (jobs run).
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>

#include <fstream>

#include "files/scene_file.h"
#include "files/settings_store.h"
#include "i18n/label_text.h"
#include "screenshot.h"
#include "system_test_host.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/cell_editor.h"
#include "ui/editors/system_mode_list.h"
#include "ui/editors/system_scene_list.h"
#include "ui/editors/system_window.h"
#include "ui/main/progress_window.h"

namespace rmt4::ui {
namespace {

using test::AnswerNextBox;
using test::ChooseFromNextMenu;
using test::PumpUntil;

QString Text(LabelId id) { return QString::fromUtf8(LabelText(id).data()); }
QString PathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

/// Answers every message box while it lives, with `button` where the box has
/// one, else its first button; keeps their texts.
struct BoxAnswerer {
  explicit BoxAnswerer(const QString& button = {}) {
    QObject::connect(&timer, &QTimer::timeout, [this, button] {
      if (QMessageBox* box = test::OpenMessageBox()) {
        texts.push_back(box->text());
        if (button.isEmpty() || !test::PressButton(*box, button)) box->buttons().front()->click();
      }
    });
    timer.start(5);
  }
  QStringList texts;
  QTimer timer;
};

class SystemWindowTest : public test::SystemTestHost {
 protected:
  SystemWindow& Open() {
    system_ = std::make_unique<SystemWindow>(link(), mainWindow().osc(), &mainWindow());
    system_->show();
    QCoreApplication::processEvents();
    return *system_;
  }

  /// A right click on the cell; on the blank space below the last row when `row` is −1.
  static void RightClick(QTableWidget& list, int row, int column) {
    const QRect cell = list.visualRect(list.model()->index(row < 0 ? list.rowCount() - 1 : row, column));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, cell.center() + QPoint(0, row < 0 ? cell.height() : 0));
  }
  static QString Cell(QTableWidget& list, int row, int column) { return list.item(row, column)->text(); }

  /// Opens the editor from the menu, types `text` and moves the focus away,
  /// or presses `finishKey` in the editor when one is given.
  void TypeInPlace(QTableWidget& list, int row, int command, const QString& text, Qt::Key finishKey = Qt::Key_unknown) {
    // A message box closed before leaves no window active offscreen: focus would not move.
    system_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(system_.get()));
    ChooseFromNextMenu(command);
    RightClick(list, row, 1);
    QLineEdit* editor = system_->cellEditor().editor();
    ASSERT_NE(editor, nullptr);
    // The focus arrives once the window is active again after the menu.
    ASSERT_TRUE(PumpUntil([editor] { return editor->hasFocus(); }));
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    const bool typeable = std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    typeable ? QTest::keyClicks(editor, text) : editor->setText(text);
    finishKey != Qt::Key_unknown ? QTest::keyClick(editor, finishKey) : system_->languageSelector().setFocus();
    QCoreApplication::processEvents();
  }

  /// A file that is no scene.
  void WriteScene(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "scene";
  }
  void WriteReadableScene(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    SceneFile writer(AppFolders{}, 1);
    writer.header.fileDeviceType = kSupportedDeviceType;
    ASSERT_EQ(writer.WriteSceneFile(path.string(), std::array<std::uint16_t, kSceneParamCount>{}), SceneFileResult::kOk);
  }

  std::unique_ptr<SystemWindow> system_;
};

TEST_F(SystemWindowTest, ModeListShowsNamesTheCurrentModeAndTheNoiseGate) {
  Start(false);
  ParamTable& params = link().params();
  params[address::kCurrentMode].Store(4);
  params[address::kSystemNoiseGate].Store(12);
  SystemWindow& window = Open();
  QTableWidget& modes = window.modeList();
  ASSERT_EQ(modes.rowCount(), 12);
  EXPECT_EQ(Cell(modes, 0, 0), "1");
  EXPECT_EQ(Cell(modes, 2, 1), "Factory");
  EXPECT_EQ(window.modes().highlightedRow(), 3);
  EXPECT_EQ(window.noiseGateSelector().currentIndex(), 10);

  // A name arrives: the timer shows it at once, also while the user works in the list.
  ModeName name{};
  std::u16string_view typed = u"Choir   ";
  std::copy(typed.begin(), typed.end(), name.begin());
  link().context().state.modeNames.Store(3, name);
  params[address::kCurrentMode].Store(7);
  params[address::kSystemNoiseGate].Store(1000);
  QTest::mouseClick(modes.viewport(), Qt::LeftButton, {}, modes.visualRect(modes.model()->index(2, 1)).center());
  ASSERT_TRUE(modes.hasFocus());
  window.PeriodicRefresh();
  EXPECT_EQ(Cell(modes, 2, 1), "Choir");
  EXPECT_EQ(window.modes().highlightedRow(), 6);
  EXPECT_TRUE(params[address::kCurrentMode].rereadRequested.load());
  EXPECT_EQ(window.noiseGateSelector().currentIndex(), 10) << "1000 is above the table: nothing to select";
  EXPECT_TRUE(window.refreshing());
  window.close();
  EXPECT_FALSE(window.refreshing());
}

TEST_F(SystemWindowTest, MenuItemsActOnTheRowUnderTheClick) {
  Start(false);
  WriteReadableScene(scenes() / "a.mxb");
  WriteScene(scenes() / "broken.mxb");
  WriteReadableScene(fallback() / "a.mxb");
  SystemWindow& window = Open();
  QTableWidget& modes = window.modeList();
  QTableWidget& sceneList = window.sceneList();
  ASSERT_EQ(sceneList.rowCount(), 4) << "a, broken (scene folder), a (fallback folder), the empty row";

  QString said;
  AnswerNextBox(&said);
  RightClick(modes, 4, 1);
  EXPECT_EQ(said, Text(LabelId::NoDevice)) << "the mode menu needs the link";
  link().context().linkUp.store(true);

  const std::map<int, bool> fileRow{{5024, false}, {5025, true}, {5027, true}};
  LinkJobs& jobs = link().jobs();
  const struct {
    const char* what;
    QTableWidget* list;
    int row;
    int column;
    std::map<int, bool> enabled;
    int command;
    QStringList said;
    std::function<void()> check;
    bool previewed = false;
  } cases[] = {
      {"Use on mode 6's name", &modes, 5, 1, {{4024, true}, {4025, true}, {4026, true}}, SystemModeList::kUse, {},
       [&] { EXPECT_EQ(link().params().Value(address::kModeOperation), 0x0606); EXPECT_TRUE(jobs.Take(4)); }},
      {"upload by the number of the scene folder's a.mxb", &sceneList, 0, 0, fileRow, SystemSceneList::kUpdateToEquip, {},
       [&] { EXPECT_EQ(jobs.ScenePath(), (scenes() / "a.mxb").string()); EXPECT_TRUE(jobs.Take(2)); }, true},
      {"upload of a file that is no scene", &sceneList, 1, 1, fileRow, SystemSceneList::kUpdateToEquip,
       {Text(LabelId::NoFilesFullWidthStop) + "\n" + PathText(scenes() / "broken.mxb")},
       [&] { EXPECT_FALSE(jobs.Requested(2)); }},
      {"delete the fallback folder's a.mxb", &sceneList, 2, 0, fileRow, SystemSceneList::kDelPcScene,
       {PathText(fallback() / "a.mxb") + "\n" + Text(LabelId::DeleteSceneQuestion), Text(LabelId::SuccessfullyDelete)},
       [&] {
         EXPECT_FALSE(std::filesystem::exists(fallback() / "a.mxb"));
         EXPECT_TRUE(std::filesystem::exists(scenes() / "a.mxb"));
       }},
      {"blank space", &sceneList, -1, 0, {{5024, false}, {5025, false}, {5027, false}}, 0, {}, [] {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<int, bool> enabled;
    ChooseFromNextMenu(0, &enabled);
    RightClick(*c.list, c.row, c.column);
    EXPECT_EQ(enabled, c.enabled);
    const QModelIndexList selected = c.list->selectionModel()->selectedRows();
    EXPECT_EQ(selected.size() == 1 ? selected.front().row() : -1, c.row) << "the row is shown selected, alone";

    BoxAnswerer boxes("Yes");
    if (c.previewed) test::UploadFromNextPreview();
    ChooseFromNextMenu(c.command);
    RightClick(*c.list, c.row, c.column);
    EXPECT_EQ(boxes.texts, c.said);
    c.check();
  }
}

TEST_F(SystemWindowTest, RenameInPlaceAsksAndStoresTheName) {
  Start(false);
  link().context().linkUp.store(true);
  SystemWindow& window = Open();
  QTableWidget& modes = window.modeList();

  QString asked;
  AnswerNextBox(&asked, "No");
  TypeInPlace(modes, 4, SystemModeList::kModifyName, "Stage");
  EXPECT_EQ(asked, Text(LabelId::SchemaNameChanged));
  EXPECT_EQ(Cell(modes, 4, 1), "Factory") << "No puts the stored name back";
  EXPECT_FALSE(link().jobs().Requested(13));

  // Enter finishes the edit as leaving the cell does.
  asked.clear();
  AnswerNextBox(&asked, "Yes");
  TypeInPlace(modes, 4, SystemModeList::kModifyName, "Stage", Qt::Key_Return);
  EXPECT_EQ(asked, Text(LabelId::SchemaNameChanged));
  EXPECT_FALSE(window.cellEditor().editing());
  const ModeName buffer = link().context().state.modeNames.Buffer();
  EXPECT_EQ(std::u16string(buffer.begin(), buffer.end()), u"Stage" + std::u16string(20, u' '));
  EXPECT_EQ(link().params().Value(address::kModeOperation), 5);
  EXPECT_FALSE(link().params()[address::kModeOperation].Dirty());
  EXPECT_TRUE(link().jobs().Requested(13));
  EXPECT_EQ(Cell(modes, 4, 1), "Stage");

  // Escape drops the edit: no question, the name stays, the window stays open.
  link().jobs().Take(13);
  {
    BoxAnswerer none;
    TypeInPlace(modes, 4, SystemModeList::kModifyName, "Dropped", Qt::Key_Escape);
    EXPECT_TRUE(none.texts.isEmpty());
  }
  EXPECT_FALSE(window.cellEditor().editing());
  EXPECT_EQ(Cell(modes, 4, 1), "Stage");
  EXPECT_TRUE(window.isVisible());

  // An emptied name is not stored: Yes to the question, then the name is asked for.
  QString said;
  test::AnswerNextMessageBox([&said](QMessageBox& box) {
    AnswerNextBox(&said);
    test::PressButton(box, "Yes");
  });
  TypeInPlace(modes, 4, SystemModeList::kModifyName, "");
  EXPECT_EQ(said, Text(LabelId::EnterFileName));
  EXPECT_FALSE(link().jobs().Requested(13));

  // Closing the window with an edit open discards it, without a question.
  QString asked2;
  AnswerNextBox(&asked2);
  ChooseFromNextMenu(SystemModeList::kModifyName);
  RightClick(modes, 4, 1);
  ASSERT_TRUE(PumpUntil([&] { return window.cellEditor().editing(); }));
  window.cellEditor().editor()->setText("Changed");
  window.close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(asked2.isEmpty());
  EXPECT_FALSE(window.cellEditor().editing());
  EXPECT_FALSE(link().jobs().Requested(13));
}

TEST_F(SystemWindowTest, SavingASceneNamesItAsksBeforeReplacingAndAddsARow) {
  Start(false);
  link().context().linkUp.store(true);
  WriteReadableScene(scenes() / "old.mxb");
  SystemWindow& window = Open();
  QTableWidget& sceneList = window.sceneList();
  ASSERT_EQ(sceneList.rowCount(), 2);
  EXPECT_EQ(Cell(sceneList, 0, 1), "old.mxb");
  EXPECT_EQ(Cell(sceneList, 1, 0), "2");
  EXPECT_EQ(Cell(sceneList, 1, 1), "");

  std::map<int, bool> enabled;
  ChooseFromNextMenu(0, &enabled);
  RightClick(sceneList, 1, 1);
  EXPECT_EQ(enabled, (std::map<int, bool>{{5024, true}, {5025, false}, {5027, false}}));

  TypeInPlace(sceneList, 1, SystemSceneList::kSaveScenePc, "gig");
  EXPECT_EQ(Cell(sceneList, 1, 1), "gig.mxb");
  ASSERT_EQ(sceneList.rowCount(), 3);
  EXPECT_EQ(Cell(sceneList, 2, 0), "3");
  EXPECT_EQ(link().jobs().ScenePath(), (scenes() / "gig.mxb").string());
  EXPECT_TRUE(link().jobs().Take(1));

  // A name whose file the save would replace asks first, naming that file; replaced only on OK.
  for (const QString answer : {"Cancel", "OK"}) {
    QString asked;
    AnswerNextBox(&asked, answer);
    TypeInPlace(sceneList, 2, SystemSceneList::kSaveScenePc, "old");
    EXPECT_EQ(asked, PathText(scenes() / "old.mxb") + Text(LabelId::FileExistsOverwrite));
    EXPECT_EQ(Cell(sceneList, 2, 1), answer == "OK" ? "old.mxb" : "");
    EXPECT_EQ(link().jobs().Take(1), answer == "OK");
  }
  EXPECT_EQ(link().jobs().ScenePath(), (scenes() / "old.mxb").string()) << "the file asked about is the one written";
}

TEST_F(SystemWindowTest, ASettingThatCannotBeStoredIsReportedOnce) {
  // Files where the folders would be: no settings file can be written.
  Start(false);
  std::ofstream(main_->folder() / "scenes") << "";
  std::ofstream(main_->folder() / "fallback") << "";
  SystemWindow& window = Open();
  BoxAnswerer boxes;
  window.transportSelector().setFocus();
  QTest::keyClick(&window.transportSelector(), Qt::Key_Down);
  EXPECT_EQ(boxes.texts, QStringList{Text(LabelId::SaveFailed)});
}

TEST_F(SystemWindowTest, TypedSceneNamesNeverReachOutsideTheSceneFolders) {
  Start(false);
  link().context().linkUp.store(true);
  SystemWindow& window = Open();
  const struct {
    QString typed;
    LabelId said;
  } cases[] = {{"../outside", LabelId::SceneNameFolderPart}, {"/tmp/outside", LabelId::SceneNameFolderPart},
               {"..", LabelId::SceneNameDots}, {".hidden", LabelId::SceneNameDots},
               {"a\x01" "b", LabelId::SceneNameControlCharacter}, {QString(300, 'x'), LabelId::SceneNameTooLong}};
  for (const auto& c : cases) {
    QString said;
    AnswerNextBox(&said);
    TypeInPlace(window.sceneList(), 0, SystemSceneList::kSaveScenePc, c.typed);
    EXPECT_EQ(said, Text(c.said)) << c.typed.toStdString();
    EXPECT_EQ(Cell(window.sceneList(), 0, 1), "");
    EXPECT_FALSE(link().jobs().Requested(1)) << c.typed.toStdString();
  }
}

TEST_F(SystemWindowTest, SelectorsStoreLanguageTransportAndNoiseGate) {
  Start(false);
  link().params()[address::kSystemNoiseGate].Store(0);
  SystemWindow& window = Open();
  const SettingsStore settings(link().sceneFolders());

  window.languageSelector().setFocus();
  QTest::keyClick(&window.languageSelector(), Qt::Key_Up);  // English → 繁體中文
  EXPECT_EQ(CurrentLanguage(), LanguageIndex::TraditionalChinese);
  EXPECT_EQ(settings.ReadSettingInt(kLanguageSettingsFile, kLanguageKey), 1);
  EXPECT_EQ(window.groupBox(4).title(), "噪聲門");
  EXPECT_EQ(window.modeList().horizontalHeaderItem(1)->text(), "模式名稱:");
  ASSERT_TRUE(PumpUntil([&] { return mainWindow().button(4)->text() == "系統設置"; })) << "the main window re-labels";

  QString said;
  AnswerNextBox(&said);
  window.transportSelector().setFocus();
  QTest::keyClick(&window.transportSelector(), Qt::Key_Down);  // USB → NET
  EXPECT_EQ(said, Text(LabelId::ModifySuccessRestart));
  EXPECT_EQ(settings.ReadSettingInt(kConfigurationSettingsFile, kConnectionKindKey), 2);
  EXPECT_EQ(settings.ReadSettingInt(kConfigurationSettingsFile, kSerialSpeedKey), 128000);
  EXPECT_EQ(link().context().connectionKind, kUsbHid) << "the running link stays";

  window.noiseGateSelector().setFocus();
  QTest::keyClick(&window.noiseGateSelector(), Qt::Key_Down);  // 0 → 1
  EXPECT_EQ(link().params().Value(address::kSystemNoiseGate), 3);
  EXPECT_TRUE(link().params()[address::kSystemNoiseGate].Dirty());
}

TEST_F(SystemWindowTest, AgainstTheConsoleModesAndScenesRoundTrip) {
  Start(true);
  SystemWindow& window = Open();
  QTableWidget& modes = window.modeList();

  // Recall mode 4: the console changes mode and everything is read again behind the progress window.
  const int synced = link().SyncCount();
  bool progressShown = false;
  QTest::mouseClick(modes.viewport(), Qt::LeftButton, {}, modes.visualRect(modes.model()->index(3, 1)).center());
  ChooseFromNextMenu(SystemModeList::kUse);
  RightClick(modes, 3, 1);
  ASSERT_TRUE(PumpUntil([&] {
    progressShown = progressShown || mainWindow().progressWindow().isVisible();
    return console().Value(address::kCurrentMode) == 4 && link().FinishedJobCount() >= 1;
  }, 15000));
  EXPECT_TRUE(progressShown);
  EXPECT_GT(link().SyncCount() + link().FinishedJobCount(), synced);
  EXPECT_TRUE(PumpUntil([&] { window.PeriodicRefresh(); return window.modes().highlightedRow() == 3; }, 5000));

  // Rename mode 5: the console holds the new name.
  QString said;
  AnswerNextBox(nullptr, "Yes");
  TypeInPlace(modes, 4, SystemModeList::kModifyName, "Band");
  AnswerNextBox(&said);
  ASSERT_TRUE(PumpUntil([&] { return !said.isEmpty(); }, 15000));
  EXPECT_EQ(said, Text(LabelId::SaveSuccessfully));
  const std::uint8_t five = 5;
  const std::vector<LinkFrame> named = console().Respond(FrameView{static_cast<std::uint8_t>(Command::ReadModeName), {&five, 1}});
  ASSERT_EQ(named.size(), 1u);
  const ModeName held = DecodeModeName(named[0].Payload().subspan(1));
  EXPECT_EQ(std::u16string(held.begin(), std::find(held.begin(), held.end(), u'\0')), u"Band");

  // Save a scene, change the console, upload the scene: the values come back.
  constexpr ParamAddress kFader = 136;
  const std::uint16_t saved = console().Value(kFader);
  said.clear();
  AnswerNextBox(&said);
  TypeInPlace(window.sceneList(), 0, SystemSceneList::kSaveScenePc, "show");
  ASSERT_TRUE(PumpUntil([&] { return !said.isEmpty(); }, 15000));
  ASSERT_TRUE(std::filesystem::exists(scenes() / "show.mxb")) << said.toStdString();
  (void)console().ChangeFromConsole(kFader, static_cast<std::uint16_t>(saved ^ 0x100));

  QString question;
  AnswerNextBox(&question, "No");
  test::UploadFromNextPreview();
  ChooseFromNextMenu(SystemSceneList::kUpdateToEquip);
  RightClick(window.sceneList(), 0, 1);
  EXPECT_TRUE(PumpUntil([&] { return console().Value(kFader) == saved; }, 20000));
  ASSERT_TRUE(PumpUntil([&] { return !question.isEmpty(); }, 20000));
  EXPECT_EQ(question, Text(LabelId::UploadCompletedSave));

  BoxAnswerer boxes("Yes");
  ChooseFromNextMenu(SystemSceneList::kDelPcScene);
  RightClick(window.sceneList(), 0, 1);
  ASSERT_EQ(boxes.texts.size(), 2);
  EXPECT_EQ(boxes.texts[1], Text(LabelId::SuccessfullyDelete));
  EXPECT_FALSE(std::filesystem::exists(scenes() / "show.mxb"));
  EXPECT_EQ(window.sceneList().rowCount(), 1) << "the list is filled again";
}

// A scene upload is one undo step: Ctrl+Z in the System window writes back every value it changed.
TEST_F(SystemWindowTest, UndoOfASceneUploadRestoresEveryValueOnTheConsole) {
  Start(true);
  WriteReadableScene(scenes() / "zeros.mxb");
  SystemWindow& window = Open();
  std::vector<std::uint16_t> before(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) before[a] = console().Value(a);

  QString question;
  AnswerNextBox(&question, "No");
  test::UploadFromNextPreview();
  ChooseFromNextMenu(SystemSceneList::kUpdateToEquip);
  RightClick(window.sceneList(), 0, 1);
  ASSERT_TRUE(PumpUntil([&] { return !question.isEmpty(); }, 20000));
  const HistoryStep* upload = mainWindow().history().NextUndo();
  ASSERT_NE(upload, nullptr);
  ASSERT_GT(upload->changes.size(), 100u);
  EXPECT_TRUE(QRegularExpression("^Undo: scene upload \\(\\d+ values\\)$").match(mainWindow().undoButton(true)->toolTip()).hasMatch())
      << mainWindow().undoButton(true)->toolTip().toStdString();

  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  // The PC writes MAIN's PFL as bits 6 and 7 together, where the console may hold bit 6 alone.
  const auto held = [&](ParamAddress a) {
    const std::uint16_t value = console().Value(a);
    return a == address::kPflBus && (before[a] & 0xC0) == 0x40 ? static_cast<std::uint16_t>(value & ~0x80) : value;
  };
  const auto restored = [&] {
    for (ParamAddress a = 0; a < kParamCount; ++a) {
      if (IsHistoryWord(a) && held(a) != before[a]) return false;
    }
    return true;
  };
  EXPECT_TRUE(PumpUntil(restored, 20000));
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (IsHistoryWord(a) && held(a) != before[a]) ADD_FAILURE() << "not restored: " << a;
  }
}

TEST_F(SystemWindowTest, TopBarOpensBothWindowsModally) {
  Start(false);
  for (const int button : {4, 7}) {
    QString opened;
    QTimer::singleShot(50, [&opened] {
      QWidget* modal = QApplication::activeModalWidget();
      opened = modal != nullptr ? modal->windowTitle() : QString();
      if (modal != nullptr) modal->close();
    });
    QTest::mouseClick(mainWindow().button(button), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, button == 4 ? "System" : "NET_Confi");
  }
}

TEST_F(SystemWindowTest, ScreenshotsInEveryLanguage) {
  Start(false);
  link().params()[address::kCurrentMode].Store(2);
  WriteScene(scenes() / "Concert.mxb");
  SystemWindow& window = Open();
  for (const LanguageIndex language :
       {LanguageIndex::SimplifiedChinese, LanguageIndex::TraditionalChinese, LanguageIndex::English}) {
    (void)SetCurrentLanguage(language);
    window.RefreshTexts();
    QCoreApplication::processEvents();
    const QImage shot = window.grab().toImage();
    ASSERT_FALSE(test::SaveScreenshot(window, QString("system_window_%1").arg(static_cast<int>(language))).isEmpty());
    // The marked current mode (row 2) is blue, the panel around the lists dark.
    const QRect marked = window.modeList().visualRect(window.modeList().model()->index(1, 1))
                             .translated(window.modeList().viewport()->mapTo(&window, QPoint(0, 0)));
    const QColor mark = shot.pixelColor(marked.center() + QPoint(marked.width() / 3, 0));
    EXPECT_GT(mark.blue(), 180);
    EXPECT_LT(mark.red(), 60);
    EXPECT_LT(shot.pixelColor(5, 350).lightness(), 80);
  }
  // A right-clicked row is shown selected, unlike the current mode's mark.
  ChooseFromNextMenu(0);
  RightClick(window.sceneList(), 0, 1);
  const QTableWidget& list = window.sceneList();
  const QPoint selected = list.viewport()->mapTo(&window, list.visualRect(list.model()->index(0, 1)).center());
  const QColor shown = window.grab().toImage().pixelColor(selected + QPoint(list.columnWidth(1) / 3, 0));
  EXPECT_GT(shown.green(), 90);
  EXPECT_LT(shown.blue(), 150);
  (void)test::SaveScreenshot(window, "system_window_selected");
}

}  // namespace
}  // namespace rmt4::ui
