#pragma once

#include <QPoint>

#include <filesystem>
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
/// a scene to the console as its preview lets it, delete a scene file. Each row knows its file, so
/// two rows of the same name in two folders stay two files. Typed names never
/// reach a file outside the scene folders.
class SystemSceneList {
 public:
  enum Command : int { kSaveScenePc = 5024, kUpdateToEquip = 5025, kDelPcScene = 5027 };

  SystemSceneList(QTableWidget& list, CellEditor& editor, LinkWorker& link, AppFolders folders, QWidget& window);

  /// The numbered scene files, then one empty numbered row.
  void Fill();

  /// A right click on `row` (−1 when it hit no row), `global` the pointer: the
  /// menu, whose items act on that row.
  void OnRightClick(int row, QPoint global);

 private:
  /// The file of `row`; empty for a row without one.
  [[nodiscard]] std::filesystem::path RowFile(int row) const;
  /// The menu as it opens now for `row`.
  [[nodiscard]] std::unique_ptr<QMenu> BuildMenu(int row) const;
  void Run(int command, int row);
  /// The edit in place of `row` finished: commit and save the scene under the typed name.
  void FinishSave(int row);
  void Upload(int row);
  void Delete(int row);
  /// The name with the scene extension, or nothing after telling the user why it cannot be used.
  [[nodiscard]] std::optional<std::string> UsableName(const std::string& typed) const;
  void SetRow(int row, const QString& name, const std::filesystem::path& file);

  QTableWidget& list_;
  CellEditor& editor_;
  LinkWorker& link_;
  const AppFolders folders_;
  QWidget& window_;
};

}  // namespace rmt4::ui
