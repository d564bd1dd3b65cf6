#pragma once

#include <QPoint>

#include <memory>

class QMenu;
class QTableWidget;
class QWidget;

namespace rmt4 {
class LinkWorker;
}

namespace rmt4::ui {

class CellEditor;

/// The System window's list of the console's twelve stored modes: their names
/// as the console reports them, the current mode highlighted, and the
/// right-button menu that recalls a mode, renames it in place and stores the
/// name on the console.
class SystemModeList {
 public:
  enum Command : int { kUse = 4024, kSave = 4025, kModifyName = 4026 };

  SystemModeList(QTableWidget& list, CellEditor& editor, LinkWorker& link, QWidget& window);

  /// Twelve rows: number and name ("Factory" while the console gave none).
  void Fill();
  /// Shows names that arrived since, unless the user is working in the list.
  void RefreshNames();
  /// Highlights the console's current mode (a mark of its own, not the selection).
  void HighlightCurrentMode();
  [[nodiscard]] int highlightedRow() const { return highlighted_; }

  /// A right click at `cell` (row, column; −1 when it hit no cell), `global` the pointer.
  void OnRightClick(int row, int column, QPoint global);

 private:
  /// The menu as it opens now; each action's data is its command.
  [[nodiscard]] std::unique_ptr<QMenu> BuildMenu() const;
  void Run(int command);
  /// The in-place editor lost the focus: commit and offer to store a changed name.
  void FinishRename();
  void Recall();
  void StoreName();
  void ShowRowName(int row);

  QTableWidget& list_;
  CellEditor& editor_;
  LinkWorker& link_;
  QWidget& window_;
  int modeRow_ = 0;
  int modeColumn_ = 0;
  int highlighted_ = -1;
};

}  // namespace rmt4::ui
