// `rmt4 --offline`: the whole window against the console model in the
// program, starting from a scene file.
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "files/scene_codec.h"
#include "files/scene_file.h"
#include "i18n/language.h"
#include "modal_answer.h"
#include "param_writes.h"
#include "protocol/crc16.h"
#include "screenshot.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_label.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/offline_session.h"
#include "ui/main/program_options.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr ParamAddress kCh3Fader = 136;
constexpr std::uint16_t kSceneFader = 1200;

/// A scene as the console would have saved it: its defaults, CH3's fader moved.
std::vector<std::uint16_t> StartingValues() {
  std::vector<std::uint16_t> values(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = DefaultValue(a);
  values[address::kDeviceType] = kSupportedDeviceType;
  values[address::kKeepAlive] = 1;  // the link's keep-alive has always written it
  values[kCh3Fader] = kSceneFader;
  return values;
}

Bytes Encode(const std::vector<std::uint16_t>& values, std::uint32_t deviceType = kSupportedDeviceType) {
  return EncodeSceneFile(values, deviceType, SceneTime{2026, 12, 9, 20, 0, 0}, SeededRandomBytes(3));
}

/// The file with its lock flag set and its checksum made good again: a
/// password-protected scene.
Bytes Locked(Bytes file) {
  const auto table = std::span(file).subspan(20, 16);
  const auto nibble = [&](std::uint8_t code) {
    return static_cast<std::uint8_t>(std::find(table.begin(), table.end(), code) - table.begin());
  };
  Bytes image(file.begin(), file.begin() + 256);
  for (std::size_t i = 256; i + 1 < file.size(); i += 2) {
    image.push_back(static_cast<std::uint8_t>(nibble(file[i]) << 4 | nibble(file[i + 1])));
  }
  image[296] = 1;
  const std::size_t crcAt = kSceneDataOffset + 2 * kParamCount;
  const std::uint16_t crc = Crc16(image.data(), crcAt);
  image[crcAt] = static_cast<std::uint8_t>(crc);
  image[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
  Bytes locked(file.begin(), file.begin() + 256);
  for (std::size_t i = 256; i < image.size(); ++i) {
    locked.push_back(table[image[i] >> 4]);
    locked.push_back(table[image[i] & 15]);
  }
  return locked;
}

/// One byte of the clear part changed: the checksum covers it.
Bytes Damaged(Bytes file) {
  file[100] ^= 0xFF;
  return file;
}

class OfflineSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { (void)SetCurrentLanguage(LanguageIndex::English); }

  std::string WriteFile(const std::string& name, const Bytes& bytes) const {
    const std::string path = folder_.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  QTemporaryDir folder_;
  AppFolders folders_{folder_.filePath("scenes/").toStdString(), folder_.filePath("fallback/").toStdString()};
  OfflineSession session_{folders_};
};

TEST_F(OfflineSessionTest, RefusesScenesItCannotUseAndKeepsTheDefaults) {
  const std::vector<std::uint16_t> values = StartingValues();
  const struct {
    const char* what;
    std::string path;
    LabelId problem;
  } cases[] = {
      {"missing", folder_.filePath("nowhere.mxb").toStdString(), LabelId::NoFilesFullWidthStop},
      {"damaged", WriteFile("damaged.mxb", Damaged(Encode(values))), LabelId::NoFilesFullWidthStop},
      {"password", WriteFile("locked.mxb", Locked(Encode(values))), LabelId::DataHasPassword},
      {"other device", WriteFile("other.mxb", Encode(values, 12345)), LabelId::WrongFileVersion},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(session_.LoadScene(c.path), c.problem) << c.what;
    EXPECT_EQ(session_.console().Value(kCh3Fader), DefaultValue(kCh3Fader)) << c.what;
  }

  // The user reads why, in their language, with the scene's name.
  QString shown;
  test::AnswerNextMessageBox([&shown](QMessageBox& box) {
    shown = box.text();
    box.accept();
  });
  EXPECT_FALSE(session_.LoadSceneOrExplain(cases[2].path));
  EXPECT_EQ(shown, "The data has a password .\n" + QString::fromStdString(cases[2].path));
}

TEST_F(OfflineSessionTest, TheWindowEditsTheSceneAndSavesItWithExactlyTheEdits) {
  const std::vector<std::uint16_t> start = StartingValues();
  ASSERT_EQ(session_.LoadScene(WriteFile("start.mxb", Encode(start))), std::nullopt);

  LinkWorker::Options options = session_.LinkOptions();
  EXPECT_TRUE(options.skipSettlePauses) << "the pauses a real console needs at the start (1.6 s) are left out";
  MainWindow window(std::move(options));
  window.ShowOffline();
  window.show();
  ASSERT_TRUE(test::PumpUntil([&] { return window.link().SyncCount() >= 1; }, 10000));

  InputStrip& ch3 = window.strips().inputStrip(2);
  EXPECT_TRUE(test::PumpUntil([&] { return ch3.ReadControl(StripCode::Fader) == kSceneFader; }));
  EXPECT_EQ(window.windowTitle(), "RMT-4-Offline");
  EXPECT_EQ(window.titleLabel()->text(), "RMT-4-Offline");
  EXPECT_EQ(window.button(3)->text(), "Offline") << "no console stands behind it";
  // A language chosen in the System window re-labels the title too.
  (void)SetCurrentLanguage(LanguageIndex::TraditionalChinese);
  PostWindowMessage(&window, kRetranslate, 0, 0);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("RMT-4-離線"));
  EXPECT_EQ(window.titleLabel()->text(), QStringLiteral("RMT-4-離線"));
  (void)SetCurrentLanguage(LanguageIndex::English);
  PostWindowMessage(&window, kRetranslate, 0, 0);
  QCoreApplication::sendPostedEvents();

  // The screenshot: CH3's fader stands where the scene put it, not where CH2's does.
  const QImage shot = window.grab().toImage();
  ASSERT_FALSE(test::SaveScreenshot(window, "offline_main_window").isEmpty());
  const InputStrip& ch2 = window.strips().inputStrip(1);
  EXPECT_NE(shot.copy(ch2.geometry()), shot.copy(QRect(ch3.pos(), ch2.size())))
      << "CH3 draws like CH2 although its fader differs";

  // An edit in the window reaches the console model.
  ParamTable& params = window.link().params();
  const std::vector<std::uint16_t> before = test::Snapshot(params);
  QTest::mouseClick(&ch3.button(StripCode::Mute), Qt::LeftButton);
  const std::vector<ParamAddress> edited = test::WaitForWrites(params, before);
  ASSERT_FALSE(edited.empty()) << "MUTE wrote nothing";
  EXPECT_TRUE(test::PumpUntil([&] {
    return std::all_of(edited.begin(), edited.end(),
                       [&](ParamAddress a) { return session_.console().Value(a) == params.Value(a); });
  })) << "the edit did not reach the console model";

  // The System window's save job writes the start plus exactly that edit.
  const int jobsBefore = window.link().FinishedJobCount();
  QString saveMessage;
  test::AnswerNextMessageBox([&saveMessage](QMessageBox& box) {
    saveMessage = box.windowTitle() + "|" + box.text();
    box.accept();
  });
  window.link().jobs().SetScenePath("show");
  window.link().jobs().Request(LinkJob::SaveScene);
  ASSERT_TRUE(test::PumpUntil([&] { return window.link().FinishedJobCount() > jobsBefore; }, 10000));
  EXPECT_TRUE(saveMessage.startsWith("Save successfully!")) << saveMessage.toStdString();

  SceneFile saved(folders_);
  ASSERT_EQ(saved.LoadSceneFile("show"), SceneFileResult::kOk);
  ASSERT_EQ(saved.values.size(), start.size());
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    const bool wasEdited = std::find(edited.begin(), edited.end(), a) != edited.end();
    EXPECT_EQ(saved.values[a], wasEdited ? params.Value(a) : start[a]) << "address " << a;
  }
  for (ParamAddress a : edited) EXPECT_NE(saved.values[a], start[a]) << "address " << a;
}

TEST_F(OfflineSessionTest, ClosingWithEditsAsksToSaveThemAsAScene) {
  MainWindow window(session_.LinkOptions());
  window.ShowOffline();
  window.SetCloseQuestion([this, &window] { return session_.ConfirmClose(&window); });
  window.show();
  ASSERT_TRUE(test::PumpUntil([&] { return window.link().SyncCount() >= 1; }, 10000));
  EXPECT_FALSE(session_.HasEdits()) << "the link's own writes are no edits";

  InputStrip& ch3 = window.strips().inputStrip(2);
  QTest::mouseClick(&ch3.button(StripCode::Mute), Qt::LeftButton);
  ASSERT_TRUE(test::PumpUntil([&] { return session_.HasEdits(); })) << "MUTE did not reach the console model";
  const auto closeAndAnswer = [&](const QString& button) {
    QString question;
    test::AnswerNextMessageBox([&](QMessageBox& box) {
      question = box.text();
      EXPECT_TRUE(test::PressButton(box, button)) << button.toStdString();
    });
    QTest::mouseClick(window.button(0), Qt::LeftButton);
    EXPECT_TRUE(test::PumpUntil([&] { return !question.isEmpty(); })) << "nothing asked";
    return question;
  };

  EXPECT_EQ(closeAndAnswer("Cancel"), "The offline edits are not saved. Save them as a scene?");
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.isVisible()) << "Cancel keeps the window";

  // Save asks for the scene's name, typed as the user does.
  QTimer typing;
  QObject::connect(&typing, &QTimer::timeout, [&typing] {
    if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
      typing.stop();
      QLineEdit* field = dialog->findChild<QLineEdit*>();
      QTest::keyClicks(field, "late show");
      QTest::keyClick(field, Qt::Key_Return);
    }
  });
  typing.start(5);
  (void)closeAndAnswer("Save");
  ASSERT_TRUE(test::PumpUntil([&] { return !window.isVisible(); })) << "saved: the window closes";

  SceneFile saved(folders_);
  ASSERT_EQ(saved.LoadSceneFile("late show"), SceneFileResult::kOk);
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a == address::kLevelMeters) continue;
    EXPECT_EQ(saved.values[a], session_.console().Value(a)) << "address " << a;
  }
  EXPECT_FALSE(session_.HasEdits()) << "saved edits are kept";
}

TEST(ProgramOptions, OfflineTakesAnOptionalSceneAndLeavesQtsOwnArguments) {
  const struct {
    std::vector<const char*> arguments;
    bool offline;
    std::optional<std::string> scene;
    std::vector<std::string> unknown;
  } cases[] = {
      {{}, false, std::nullopt, {}},
      {{"--offline"}, true, std::nullopt, {}},
      {{"--offline", "show.mxb"}, true, "show.mxb", {}},
      {{"--offline", "-platform", "offscreen"}, true, std::nullopt, {"-platform", "offscreen"}},
      {{"-platform", "offscreen", "--offline", "/tmp/a b.mxb"}, true, "/tmp/a b.mxb", {"-platform", "offscreen"}},
      // A mistyped option is not taken for --offline.
      {{"--ofline", "show.mxb"}, false, std::nullopt, {"--ofline", "show.mxb"}},
  };
  for (const auto& c : cases) {
    const ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.offline, c.offline) << c.arguments.size();
    EXPECT_EQ(options.offlineScene, c.scene) << c.arguments.size();
    EXPECT_EQ(options.unknown, c.unknown) << c.arguments.size();
  }
}

}  // namespace
}  // namespace rmt4::ui
