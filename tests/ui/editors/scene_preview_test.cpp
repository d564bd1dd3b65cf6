// The preview before a scene upload, worked as a user does against the
// console in this process: the right-button menu, the check boxes, Upload
// and Cancel; what reaches the console and what the status field says.
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>

#include "files/scene_file.h"
#include "link/scene_upload.h"
#include "system_test_host.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/system_scene_list.h"
#include "ui/editors/system_window.h"
#include "ui/platform/translated.h"
#include "values/label_format.h"
#include "values/param_catalogue.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

using test::PumpUntil;
using Row = std::pair<QString, QString>;  // a change's name and the text shown

using test::kStatusButton;
/// Longer than the link's silence limit.
constexpr int kReadingMs = 4000;

class ScenePreviewTest : public test::SystemTestHost {
 protected:
  /// Opens the System window and, from the scene row's menu, the preview, which `hand` works.
  void Preview(const std::function<void(ScenePreviewDialog&)>& hand) {
    if (system_ == nullptr) {
      system_ = std::make_unique<SystemWindow>(link(), mainWindow().osc(), &mainWindow());
      system_->show();
    }
    bool worked = false;
    test::AnswerNextPreview([&](ScenePreviewDialog& preview) {
      hand(preview);
      worked = true;
    });
    test::ChooseFromNextMenu(SystemSceneList::kUpdateToEquip);
    QTableWidget& list = system_->sceneList();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, list.visualRect(list.model()->index(0, 1)).center());
    EXPECT_TRUE(worked) << "no preview opened";
  }

  static std::vector<Row> Rows(QTreeWidget& tree) {
    std::vector<Row> rows;
    for (int c = 0; c < tree.topLevelItemCount(); ++c) {
      for (int s = 0; s < tree.topLevelItem(c)->childCount(); ++s) {
        const QTreeWidgetItem& section = *tree.topLevelItem(c)->child(s);
        for (int r = 0; r < section.childCount(); ++r) {
          rows.emplace_back(section.child(r)->data(0, ScenePreviewDialog::kNameRole).toString(), section.child(r)->text(0));
        }
      }
    }
    return rows;
  }

  static QTreeWidgetItem& ItemOf(QTreeWidget& tree, const QString& name) {
    const QList<QTreeWidgetItem*> found = tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1) << name.toStdString();
    return *found.front();
  }

  /// A click on the item's check box.
  static void ClickCheckBox(QTreeWidget& tree, QTreeWidgetItem& item) {
    const QRect cell = tree.visualItemRect(&item);
    const int box = tree.style()->pixelMetric(QStyle::PM_IndicatorWidth);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 3 + box / 2, cell.center().y()));
  }

  std::unique_ptr<SystemWindow> system_;
};

TEST_F(ScenePreviewTest, UploadWritesWhatStaysTickedNeverASafeAndCancelWritesNothing) {
  Start(true);
  const auto before = MirrorWords(link().params());
  const ParamAddress ch1Switches = *FindParam("ch1.mute");
  const ParamAddress ch3Fader = *FindParam("ch3.fader");
  const ParamAddress ch5Fader = *FindParam("ch5.fader");
  const ParamAddress ch3Eq = *FindParam("ch3.eq1.gain");
  std::array<std::uint16_t, kSceneParamCount> scene = before;
  scene[ch1Switches] = static_cast<std::uint16_t>(before[ch1Switches] ^ 0x0001);  // 48V on
  scene[ch3Fader] = static_cast<std::uint16_t>(before[ch3Fader] == 1100 ? 1000 : 1100);
  scene[ch3Eq] = static_cast<std::uint16_t>(before[ch3Eq] ^ 0x0004);
  scene[ch5Fader] = static_cast<std::uint16_t>(before[ch5Fader] == 1100 ? 1000 : 1100);
  SceneFile writer(AppFolders{}, 1);
  writer.header.fileDeviceType = kSupportedDeviceType;
  std::filesystem::create_directories(scenes());
  ASSERT_EQ(writer.WriteSceneFile((scenes() / "show.mxb").string(), scene), SceneFileResult::kOk);
  std::vector<Row> expected;
  for (const SceneChange& change : SceneChanges(before, UploadedWords(before, scene))) {
    expected.emplace_back(QString::fromStdString(change.name), QString::fromStdString(SceneChangeInWords(change)));
  }
  ASSERT_EQ(expected.size(), 4u);

  // The question after the upload is answered late, as a user reads first:
  // the link stands still meanwhile and says so when it moves again.
  QString question;
  QTimer::singleShot(kReadingMs, [&question] { test::AnswerNextBox(&question, "No"); });
  Preview([&](ScenePreviewDialog& preview) {
    QTreeWidget& tree = preview.tree();
    EXPECT_EQ(Rows(tree), expected);
    QTreeWidgetItem& safe = *tree.findItems(QStringLiteral("CH1 48V"), Qt::MatchStartsWith | Qt::MatchRecursive).front();
    EXPECT_FALSE(safe.flags() & Qt::ItemIsEnabled) << "greyed";
    EXPECT_EQ(safe.text(ScenePreviewDialog::kMarkColumn), Translated(LabelId::SceneSafe));
    EXPECT_EQ(safe.toolTip(ScenePreviewDialog::kChangeColumn), Translated(LabelId::SceneSafeTip));
    EXPECT_FALSE(safe.parent()->flags() & Qt::ItemIsUserCheckable) << "a section of safes alone cannot be ticked";
    QTreeWidgetItem& ch3 = ItemOf(tree, Translated(LabelId::Ch3));
    ClickCheckBox(tree, *ch3.child(0));
    EXPECT_EQ(ch3.checkState(0), Qt::PartiallyChecked) << "one section of two is off";
    (void)test::SaveScreenshot(preview, QStringLiteral("scene_preview"));
    ClickCheckBox(tree, ch3);
    EXPECT_EQ(ch3.checkState(0), Qt::Checked);
    ClickCheckBox(tree, ch3);
    EXPECT_EQ(ch3.checkState(0), Qt::Unchecked);
    EXPECT_EQ(ch3.child(1)->checkState(0), Qt::Unchecked);
    QTest::mouseClick(&preview.uploadButton(), Qt::LeftButton);
  });
  ASSERT_TRUE(PumpUntil([&] { return console().Value(ch5Fader) == scene[ch5Fader] && !question.isEmpty(); }, 20000));
  EXPECT_EQ(console().Value(ch3Fader), before[ch3Fader]) << "CH3 was left out";
  EXPECT_EQ(console().Value(ch3Eq), before[ch3Eq]);
  EXPECT_EQ(console().Value(ch1Switches), before[ch1Switches]) << "48V is safe";
  const QString uploaded = QString::fromStdString(FormatLabel(LabelId::SceneUploadedShortFormat, 1));
  QTest::qWait(kReadingMs / 2);
  EXPECT_EQ(mainWindow().button(kStatusButton)->text().toStdString(), uploaded.toStdString()) << "the note outlasts the question";

  // The ticks are the file's: CH3 is still off; Cancel sends nothing.
  link().jobs().SetUploadOutcome(std::nullopt);
  Preview([&](ScenePreviewDialog& preview) {
    QTreeWidgetItem& ch3 = ItemOf(preview.tree(), Translated(LabelId::Ch3));
    EXPECT_EQ(ch3.checkState(0), Qt::Unchecked);
    EXPECT_EQ(Rows(preview.tree()).size(), 3u) << "CH3's two changes and 48V";
    QTest::mouseClick(&preview.cancelButton(), Qt::LeftButton);
  });
  EXPECT_FALSE(link().jobs().Requested(static_cast<int>(LinkJob::UploadScene)));
  QTest::qWait(200);
  EXPECT_EQ(console().Value(ch3Fader), before[ch3Fader]);
  EXPECT_FALSE(link().jobs().UploadOutcome().has_value());
}

}  // namespace
}  // namespace rmt4::ui
