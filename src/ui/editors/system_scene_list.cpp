#include "ui/editors/system_scene_list.h"

#include <QMenu>
#include <QTableWidget>

#include "files/scene_file.h"
#include "files/scene_name.h"
#include "files/scene_safes.h"
#include "files/scene_scope_settings.h"
#include "link/link_worker.h"
#include "link/scene_upload.h"
#include "ui/editors/cell_editor.h"
#include "ui/editors/scene_name_text.h"
#include "ui/editors/scene_preview_dialog.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"
#include "values/scene_scope.h"

namespace rmt4::ui {
namespace {

constexpr int kNameColumn = 1;

QTableWidgetItem* NumberItem(int number) { return new QTableWidgetItem(QString::number(number)); }

// Where a row keeps its file, beside the name it shows.
constexpr int kFileRole = Qt::UserRole;

QString FileText(const std::filesystem::path& file) { return QString::fromStdString(file.string()); }

/// The groups left out of the last upload of the file named `sceneName`; a stored word no group has is skipped.
std::vector<SceneGroup> RememberedLeftOut(const SettingsStore& settings, const std::string& sceneName) {
  std::vector<SceneGroup> groups;
  for (const std::string& key : ReadLeftOutGroups(settings, sceneName)) {
    if (const std::optional<SceneGroup> group = GroupFromKey(key)) groups.push_back(*group);
  }
  return groups;
}

}  // namespace

SystemSceneList::SystemSceneList(QTableWidget& list, CellEditor& editor, LinkWorker& link, AppFolders folders,
                                 QWidget& window)
    : list_(list), editor_(editor), link_(link), folders_(std::move(folders)), window_(window) {}

void SystemSceneList::Fill() {
  const std::vector<SceneListEntry> entries = SceneFile(folders_).ListSceneFiles();
  list_.setRowCount(static_cast<int>(entries.size()));
  for (int row = 0; row < list_.rowCount(); ++row) {
    const SceneListEntry& entry = entries[static_cast<std::size_t>(row)];
    list_.setItem(row, 0, NumberItem(entry.number));
    list_.setItem(row, kNameColumn, new QTableWidgetItem);
    SetRow(row, QString::fromStdString(entry.name),
           entry.name.empty() ? std::filesystem::path() : entry.directory / entry.name);
  }
}

std::filesystem::path SystemSceneList::RowFile(int row) const {
  const QTableWidgetItem* cell = list_.item(row, kNameColumn);
  return cell != nullptr ? std::filesystem::path(cell->data(kFileRole).toByteArray().toStdString())
                         : std::filesystem::path();
}

void SystemSceneList::SetRow(int row, const QString& name, const std::filesystem::path& file) {
  if (QTableWidgetItem* cell = list_.item(row, kNameColumn)) {
    cell->setText(name);
    // The path's own bytes: a name that is not UTF-8 still names its file.
    cell->setData(kFileRole, QByteArray::fromStdString(file.string()));
  }
}

void SystemSceneList::OnRightClick(int row, QPoint global) {
  const std::unique_ptr<QMenu> menu = BuildMenu(row);
  if (const QAction* chosen = menu->exec(global)) Run(chosen->data().toInt(), row);
}

std::unique_ptr<QMenu> SystemSceneList::BuildMenu(int row) const {
  const bool hasFile = row >= 0 && !RowFile(row).empty();
  auto menu = std::make_unique<QMenu>(&window_);
  const auto add = [&menu](LabelId label, int command, bool enabled) {
    QAction* action = menu->addAction(Translated(label));
    action->setData(command);
    action->setEnabled(enabled);
  };
  add(LabelId::SaveScenePc, kSaveScenePc, row >= 0 && !hasFile);
  add(LabelId::UpdateToEquip, kUpdateToEquip, hasFile);
  add(LabelId::DelPcScene, kDelPcScene, hasFile);
  return menu;
}

void SystemSceneList::Run(int command, int row) {
  if (row < 0 || row >= list_.rowCount()) return;
  switch (command) {
    case kSaveScenePc:
      if (!link_.linkUp()) {
        (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoDevice));
        return;
      }
      editor_.Open(list_, row, kNameColumn, [this, row] { FinishSave(row); });
      break;
    case kUpdateToEquip:
      Upload(row);
      break;
    case kDelPcScene:
      Delete(row);
      break;
    default:
      break;
  }
}

std::optional<std::string> SystemSceneList::UsableName(const std::string& typed) const {
  const SceneFile scene(folders_);
  const SceneNameFault fault = CheckSceneName(typed, scene.extension);
  if (fault != SceneNameFault::kNone) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(SceneNameFaultText(fault)), Translated(LabelId::Warning));
    return std::nullopt;
  }
  return scene.WithExtension(typed);
}

void SystemSceneList::FinishSave(int row) {
  if (!editor_.Commit()) return;
  const std::string typed = list_.item(row, kNameColumn)->text().toStdString();
  if (typed.empty()) return;
  const std::optional<std::string> name = UsableName(typed);
  if (!name) {
    SetRow(row, {}, {});
    return;
  }
  // The question and the save both concern the one file the save writes.
  const SceneFile scene(folders_);
  const std::filesystem::path file = scene.SaveTarget(*name);
  if (file.empty()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::SaveFailed));
    SetRow(row, {}, {});
    return;
  }
  if (scene.SceneFileExists(*name)) {
    const QString question = FileText(file) + Translated(LabelId::FileExistsOverwrite);
    if (ShowMessageBox(&window_, MessageStyle::OkCancel, question, Translated(LabelId::Warning)) != MessageButton::Ok) {
      SetRow(row, {}, {});
      return;
    }
  }
  link_.jobs().SetScenePath(file.string());
  link_.jobs().Request(LinkJob::SaveScene);
  SetRow(row, QString::fromStdString(*name), file);
  const int inserted = row + 1;
  list_.insertRow(inserted);
  list_.setItem(inserted, 0, NumberItem(row + 2));
  list_.setItem(inserted, kNameColumn, new QTableWidgetItem);
}

void SystemSceneList::Upload(int row) {
  const std::filesystem::path file = RowFile(row);
  if (file.empty()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoFiles));
    return;
  }
  // Refused here, before the console is touched or anything is asked.
  SceneFile scene(folders_);
  if (scene.LoadSceneFile(file.string()) != SceneFileResult::kOk) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok,
                         Translated(LabelId::NoFilesFullWidthStop) + QStringLiteral("\n") + FileText(file));
    return;
  }
  const SettingsStore settings(folders_);
  // The ticks belong to the file by its name, wherever it is kept.
  const std::string sceneName = file.filename().string();
  ScenePreviewDialog preview({MirrorWords(link_.params()), scene.values, ReadSceneSafes(settings),
                              RememberedLeftOut(settings, sceneName)},
                             &window_);
  const bool upload = preview.exec() == QDialog::Accepted;
  std::vector<std::string> keys;
  for (const SceneGroup& group : preview.LeftOut()) keys.push_back(GroupKey(group));
  if (!WriteLeftOutGroups(settings, sceneName, keys)) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::SceneScopeNotStored), Translated(LabelId::Warning));
  }
  if (!upload) return;
  link_.jobs().SetSceneUpload(UploadRequestOf(file.string(), preview.Plan()));
  link_.jobs().Request(LinkJob::UploadScene);
}

void SystemSceneList::Delete(int row) {
  const std::filesystem::path file = RowFile(row);
  if (file.empty()) return;
  const QString question = FileText(file) + QStringLiteral("\n") + Translated(LabelId::DeleteSceneQuestion);
  if (ShowMessageBox(&window_, MessageStyle::YesNo, question, Translated(LabelId::Warning)) != MessageButton::Yes) {
    return;
  }
  const bool deleted = SceneFile(folders_).DeleteSceneFile(file.string()) == SceneFileResult::kOk;
  (void)ShowMessageBox(&window_, MessageStyle::Ok,
                       Translated(deleted ? LabelId::SuccessfullyDelete : LabelId::DeleteFailedNoFiles));
  Fill();
}

}  // namespace rmt4::ui
