#include "ui/main/undo_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include "ui/platform/edits_text.h"

namespace rmt4::ui {
namespace {

enum class Asked { kNone, kUndo, kRedo };

Asked AskedBy(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (key.key() == Qt::Key_Z && modifiers == Qt::ControlModifier) return Asked::kUndo;
  if (key.key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return Asked::kRedo;
  if (key.key() == Qt::Key_Y && modifiers == Qt::ControlModifier) return Asked::kRedo;
  return Asked::kNone;
}

}  // namespace

UndoKeys::UndoKeys(QWidget& window, std::function<void(bool back)> undoOrRedo)
    : window_(window), undoOrRedo_(std::move(undoOrRedo)) {
  qApp->installEventFilter(this);
}

UndoKeys::~UndoKeys() { qApp->removeEventFilter(this); }

bool UndoKeys::Owns(const QWidget& widget) const {
  for (const QWidget* w = widget.window(); w != nullptr; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
    if (w == &window_) return true;
    if (qobject_cast<const QMessageBox*>(w) != nullptr) return false;
  }
  return false;
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) || !watched->isWidgetType()) {
    return false;
  }
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const Asked asked = AskedBy(key);
  const auto& widget = static_cast<const QWidget&>(*watched);
  if (asked == Asked::kNone || EditsText(&widget) || EditsText(QApplication::focusWidget()) || !Owns(widget)) {
    return false;
  }
  // The override is only claimed, so that the key press itself comes here.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  undoOrRedo_(asked == Asked::kUndo);
  return true;
}

}  // namespace rmt4::ui
