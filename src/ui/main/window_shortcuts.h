#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QShortcut;

namespace rmt4::ui {

/// The main window's keys beyond the controls' own: Ctrl+1..Ctrl+8 choose
/// CH1..CH8 for editing, Ctrl+9 ST9/10, Ctrl+0 DIGTAL, F1 and F2 FX1 and
/// FX2, F3 MAIN, F4..F9 AUX1..AUX6; Ctrl+M mutes or unmutes the channel
/// the keyboard is on; Escape leaves the editor for the strips. None acts
/// while a text field has the keyboard: the keys are the field's then.
class WindowShortcuts final : public QObject {
 public:
  struct Actions {
    std::function<void(int channel)> chooseChannel;  ///< an editor channel, 0..18
    std::function<void()> muteFocusedChannel;
    std::function<void()> leaveEditor;
  };

  WindowShortcuts(QWidget& window, Actions actions);

  /// The key that chooses editor channel `channel` (0..18).
  [[nodiscard]] static QKeySequence ChannelKey(int channel);
  /// `name` with the key that chooses `channel`, for a tooltip: "CH3 (Ctrl+3)".
  [[nodiscard]] static QString WithKey(const QString& name, const QKeySequence& key);

 private:
  void Add(const QKeySequence& key, std::function<void()> action);
  void FollowFocus(const QWidget* focused);

  QWidget& window_;
  std::vector<QShortcut*> shortcuts_;
};

}  // namespace rmt4::ui
