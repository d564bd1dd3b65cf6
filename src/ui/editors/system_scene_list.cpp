#include "ui/editors/system_scene_list.h"

#include <QMenu>
#include <QTableWidget>

#include "files/scene_file.h"
#include "files/scene_name.h"
#include "link/link_worker.h"
#include "ui/editors/cell_editor.h"
#include "ui/editors/scene_name_text.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

constexpr int kNameColumn = 1;

QTableWidgetItem* NumberItem(int number) { return new QTableWidgetItem(QString::number(number)); }

}  // namespace

SystemSceneList::SystemSceneList(QTableWidget& list, CellEditor& editor, LinkWorker& link, AppFolders folders,
                                 QWidget& window)
    : list_(list), editor_(editor), link_(link), folders_(std::move(folders)), window_(window) {}

void SystemSceneList::Fill() {
  const std::vector<SceneListEntry> entries = CZB_FileData(folders_).ListSceneFiles();
  list_.setRowCount(static_cast<int>(entries.size()));
  for (int row = 0; row < list_.rowCount(); ++row) {
    const SceneListEntry& entry = entries[static_cast<std::size_t>(row)];
    list_.setItem(row, 0, NumberItem(entry.number));
    list_.setItem(row, kNameColumn, new QTableWidgetItem(QString::fromStdString(entry.name)));
  }
}

std::string SystemSceneList::CellText() const {
  const QTableWidgetItem* cell = list_.item(sceneRow_, sceneColumn_);
  return cell != nullptr ? cell->text().toStdString() : std::string();
}

void SystemSceneList::SetCellText(const std::string& text) {
  if (QTableWidgetItem* cell = list_.item(sceneRow_, sceneColumn_)) cell->setText(QString::fromStdString(text));
}

void SystemSceneList::OnRightClick(int row, int column, QPoint global) {
  if (column == kNameColumn && row >= 0) {
    sceneRow_ = row;
    sceneColumn_ = column;
  } else if (editor_.editing()) {
    FinishSave();
  }
  const std::unique_ptr<QMenu> menu = BuildMenu();
  if (const QAction* chosen = menu->exec(global)) Run(chosen->data().toInt());
}

std::unique_ptr<QMenu> SystemSceneList::BuildMenu() const {
  const bool hasFile = !CellText().empty();
  auto menu = std::make_unique<QMenu>(&window_);
  const auto add = [&menu](LabelId label, int command, bool enabled) {
    QAction* action = menu->addAction(Translated(label));
    action->setData(command);
    action->setEnabled(enabled);
  };
  add(LabelId::SaveScenePc, kSaveScenePc, !hasFile);
  add(LabelId::UpdateToEquip, kUpdateToEquip, hasFile);
  add(LabelId::DelPcScene, kDelPcScene, hasFile);
  return menu;
}

void SystemSceneList::Run(int command) {
  switch (command) {
    case kSaveScenePc:
      if (!link_.linkUp()) {
        (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoDevice));
        return;
      }
      editor_.Open(list_, sceneRow_, sceneColumn_, [this] { FinishSave(); });
      break;
    case kUpdateToEquip:
      Upload();
      break;
    case kDelPcScene:
      Delete();
      break;
    default:
      break;
  }
}

std::optional<std::string> SystemSceneList::UsableName(const std::string& typed) const {
  const CZB_FileData scene(folders_);
  const SceneNameFault fault = CheckSceneName(typed, scene.extension);
  if (fault != SceneNameFault::kNone) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(SceneNameFaultText(fault)), Translated(LabelId::Warning));
    return std::nullopt;
  }
  return scene.WithExtension(typed);
}

void SystemSceneList::FinishSave() {
  if (!editor_.Commit()) return;
  const std::string typed = CellText();
  if (typed.empty()) return;
  const std::optional<std::string> name = UsableName(typed);
  if (!name) {
    SetCellText({});
    return;
  }
  if (CZB_FileData(folders_).SceneFileExists(*name)) {
    const QString question = QString::fromStdString(*name) + Translated(LabelId::FileExistsOverwrite);
    if (ShowMessageBox(&window_, MessageStyle::OkCancel, question, Translated(LabelId::Warning)) != MessageButton::Ok) {
      SetCellText({});
      return;
    }
  }
  link_.jobs().SetScenePath(*name);
  link_.jobs().Request(LinkJob::SaveScene);
  SetCellText(*name);
  const int inserted = sceneRow_ + 1;
  list_.insertRow(inserted);
  list_.setItem(inserted, 0, NumberItem(sceneRow_ + 2));
  list_.setItem(inserted, kNameColumn, new QTableWidgetItem);
}

void SystemSceneList::Upload() {
  const std::string typed = CellText();
  if (typed.empty()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoFiles));
    return;
  }
  const std::optional<std::string> name = UsableName(typed);
  if (!name) return;
  link_.jobs().SetScenePath(*name);
  link_.jobs().Request(LinkJob::UploadScene);
}

void SystemSceneList::Delete() {
  const std::string typed = CellText();
  // An empty name is not refused here: deleting it fails like a missing file.
  if (!typed.empty() && !UsableName(typed)) return;
  const bool deleted = CZB_FileData(folders_).DeleteSceneFile(typed) == SceneFileResult::kOk;
  (void)ShowMessageBox(&window_, MessageStyle::Ok,
                       Translated(deleted ? LabelId::SuccessfullyDelete : LabelId::DeleteFailedNoFiles));
  Fill();
}

}  // namespace rmt4::ui
