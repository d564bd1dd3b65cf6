// Closing `rmt4 --offline` with edits: nothing is attached that keeps them,
// so the user chooses between saving them as a scene and letting them go.
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "files/scene_file.h"
#include "files/scene_name.h"
#include "ui/editors/scene_name_text.h"
#include "ui/main/offline_session.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

enum class EditsChoice { Save, Discard, Cancel };

EditsChoice AskAboutEdits(QWidget* window) {
  QMessageBox box(window);
  box.setWindowTitle(Translated(LabelId::Tip));
  box.setText(Translated(LabelId::OfflineEditsQuestion));
  box.setIcon(QMessageBox::Question);
  QPushButton* save = box.addButton(Translated(LabelId::Save), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(Translated(LabelId::Discard), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(Translated(LabelId::Cancel), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return EditsChoice::Save;
  if (box.clickedButton() == discard) return EditsChoice::Discard;
  return EditsChoice::Cancel;
}

/// A plain scene name the user typed and agreed to use; nothing when they cancelled.
std::optional<QString> AskSceneName(QWidget* window, const AppFolders& folders) {
  QInputDialog dialog(window);
  dialog.setWindowTitle(Translated(LabelId::SaveScenePc));
  dialog.setLabelText(Translated(LabelId::EnterFileName));
  dialog.setOkButtonText(Translated(LabelId::Save));
  dialog.setCancelButtonText(Translated(LabelId::Cancel));
  while (dialog.exec() == QDialog::Accepted) {
    const std::string typed = dialog.textValue().trimmed().toStdString();
    if (typed.empty()) continue;
    const SceneFile scene(folders);
    if (const SceneNameFault fault = CheckSceneName(typed, scene.extension); fault != SceneNameFault::kNone) {
      (void)ShowMessageBox(window, MessageStyle::Ok, Translated(SceneNameFaultText(fault)), Translated(LabelId::Warning));
      continue;
    }
    const std::string name = scene.WithExtension(typed);
    if (scene.SceneFileExists(name)) {
      const QString question = QString::fromStdString(name) + Translated(LabelId::FileExistsOverwrite);
      if (ShowMessageBox(window, MessageStyle::OkCancel, question, Translated(LabelId::Warning)) != MessageButton::Ok) {
        continue;
      }
    }
    return QString::fromStdString(name);
  }
  return std::nullopt;
}

}  // namespace

std::optional<bool> OfflineSession::ConfirmClose(QWidget* window) {
  if (!HasEdits()) return std::nullopt;
  switch (AskAboutEdits(window)) {
    case EditsChoice::Discard:
      return true;
    case EditsChoice::Cancel:
      return false;
    case EditsChoice::Save:
      break;
  }
  const std::optional<QString> name = AskSceneName(window, folders_);
  if (!name) return false;
  if (SaveEdits(name->toStdString()) != SceneFileResult::kOk) {
    // The edits are still here: the window stays open.
    (void)ShowMessageBox(window, MessageStyle::Ok, Translated(LabelId::SaveFailed) + QStringLiteral("\n") + *name);
    return false;
  }
  return true;
}

}  // namespace rmt4::ui
