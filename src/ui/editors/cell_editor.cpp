#include "ui/editors/cell_editor.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

namespace rmt4::ui {

void CellEditor::Open(QTableWidget& list, int row, int column, std::function<void()> onFinish) {
  Discard();
  list_ = &list;
  row_ = row;
  column_ = column;
  onFinish_ = std::move(onFinish);
  const QTableWidgetItem* item = list.item(row, column);
  editor_ = new QLineEdit(item != nullptr ? item->text() : QString(), list.viewport());
  editor_->setFrame(false);
  editor_->setFont(list.font());
  // Inside the cell's grid lines: one pixel in on every side.
  const QRect cell = list.visualRect(list.model()->index(row, column));
  editor_->setGeometry(cell.adjusted(1, 1, -1, -1));
  editor_->installEventFilter(this);
  list.scrollToItem(list.item(row, column));
  editor_->show();
  // The menu that asked for the editor may have handed the activation elsewhere.
  list.activateWindow();
  editor_->setFocus(Qt::OtherFocusReason);
  editor_->end(false);
}

bool CellEditor::Commit() {
  if (editor_ == nullptr) return false;
  QTableWidgetItem* item = list_->item(row_, column_);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    list_->setItem(row_, column_, item);
  }
  item->setText(editor_->text());
  Discard();
  return true;
}

void CellEditor::Discard() {
  if (editor_ == nullptr) return;
  editor_->removeEventFilter(this);
  editor_->hide();
  editor_->deleteLater();
  editor_ = nullptr;
}

void CellEditor::Finish() {
  if (editor_ == nullptr || !onFinish_) return;
  // The handler may open message boxes and move the focus again: run it once.
  const std::function<void()> handler = onFinish_;
  handler();
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched != editor_) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Finish();
      return true;
    }
    if (key == Qt::Key_Escape) {
      // Not passed on: the window would take it as its own Escape and close.
      Discard();
      return true;
    }
  }
  // A pop-up menu borrows the focus only for a moment; anything else ends the edit.
  if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    Finish();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace rmt4::ui
