#pragma once

#include <QPoint>

#include <memory>
#include <optional>
#include <string>

#include "platform/app_folders.h"

class QMenu;
class QTableWidget;
class QWidget;

namespace rmt4 {
class LinkWorker;
}

namespace rmt4::ui {

class CellEditor;

/// The System window's list of scene files on the PC and its right-button
/// menu: save the console's state under a new name (typed in place), upload
/// a scene to the console, delete a scene file. Typed names never reach a
/// file outside the scene folders.
class SystemSceneList {
 public:
  enum Command : int { kSaveScenePc = 5024, kUpdateToEquip = 5025, kDelPcScene = 5027 };

  SystemSceneList(QTableWidget& list, CellEditor& editor, LinkWorker& link, AppFolders folders, QWidget& window);

  /// The numbered scene files, then one empty numbered row.
  void Fill();

  void OnRightClick(int row, int column, QPoint global);

 private:
  /// The menu as it opens now, for the remembered cell.
  [[nodiscard]] std::unique_ptr<QMenu> BuildMenu() const;
  void Run(int command);
  /// The in-place editor lost the focus: commit and save the scene under the typed name.
  void FinishSave();
  void Upload();
  void Delete();
  [[nodiscard]] std::string CellText() const;
  /// The name with the scene extension, or nothing after telling the user why it cannot be used.
  [[nodiscard]] std::optional<std::string> UsableName(const std::string& typed) const;
  void SetCellText(const std::string& text);

  QTableWidget& list_;
  CellEditor& editor_;
  LinkWorker& link_;
  const AppFolders folders_;
  QWidget& window_;
  int sceneRow_ = 0;
  int sceneColumn_ = 0;
};

}  // namespace rmt4::ui
