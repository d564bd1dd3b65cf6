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
  /// Shows names that arrived since (an edit in place keeps its own text over its cell).
  void RefreshNames();
  /// Highlights the console's current mode (a mark of its own, not the selection).
  void HighlightCurrentMode();
  [[nodiscard]] int highlightedRow() const { return highlighted_; }

  /// A right click on `row` (−1 when it hit no row), `global` the pointer: the
  /// menu, whose items act on that row.
  void OnRightClick(int row, QPoint global);

 private:
  /// The menu as it opens now; each action's data is its command.
  [[nodiscard]] std::unique_ptr<QMenu> BuildMenu(bool onRow) const;
  void Run(int command, int row);
  /// The edit in place of `row` finished: commit and offer to store a changed name.
  void FinishRename(int row);
  void Recall(int row);
  void StoreName(int row, const QString& text);
  void ShowRowName(int row);

  QTableWidget& list_;
  CellEditor& editor_;
  LinkWorker& link_;
  QWidget& window_;
  int highlighted_ = -1;
};

}  // namespace rmt4::ui
