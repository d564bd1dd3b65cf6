#pragma once

#include <QWidget>

namespace rmt4::ui {

/// Whether `widget` takes typed text: while it has the keyboard, the keys
/// (Escape, Ctrl+Z, shortcuts) are the field's own.
[[nodiscard]] inline bool EditsText(const QWidget* widget) {
  return widget != nullptr && widget->testAttribute(Qt::WA_InputMethodEnabled);
}

}  // namespace rmt4::ui
