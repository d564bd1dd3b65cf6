#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

namespace rmt4::ui {

/// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, in `window` and every window
/// it owns (the System window, message boxes aside), but not while a text
/// field has the keyboard: the field's own undo comes first there.
class UndoKeys final : public QObject {
 public:
  /// Watches the application's keys from now until destroyed.
  UndoKeys(QWidget& window, std::function<void(bool back)> undoOrRedo);
  ~UndoKeys() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] bool Owns(const QWidget& widget) const;

  QWidget& window_;
  std::function<void(bool back)> undoOrRedo_;
};

}  // namespace rmt4::ui
