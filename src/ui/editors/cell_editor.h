#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QTableWidget;

namespace rmt4::ui {

/// The in-place text editor of the System window's two lists: a borderless
/// line edit over one cell. At most one is open at a time. Enter, the focus
/// leaving it or a right click elsewhere finishes it: its owner is told so
/// that it can commit and act on the new text. Escape closes it untouched.
class CellEditor final : public QObject {
 public:
  explicit CellEditor(QObject* parent = nullptr) : QObject(parent) {}

  /// Opens the editor over (row, column) of `list` with the cell's text, the
  /// caret at its end; `onFinish` runs when the edit is finished.
  /// An editor still open elsewhere is discarded first.
  void Open(QTableWidget& list, int row, int column, std::function<void()> onFinish);
  /// Finishes an open edit as if the focus had left it.
  void Finish();
  /// Copies the editor's text into its cell and closes it; false when none was open.
  bool Commit();
  /// Closes the editor without touching its cell (the window is going away).
  void Discard();

  [[nodiscard]] bool editing() const { return editor_ != nullptr; }
  [[nodiscard]] QTableWidget* list() const { return list_; }
  [[nodiscard]] QLineEdit* editor() const { return editor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableWidget* list_ = nullptr;
  QLineEdit* editor_ = nullptr;
  int row_ = 0;
  int column_ = 0;
  std::function<void()> onFinish_;
};

}  // namespace rmt4::ui
