#include "ui/main/window_shortcuts.h"

#include <QApplication>
#include <QShortcut>

#include <array>

#include "ui/platform/edits_text.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

// The input channels CH1..CH8, ST9/10 and DIGTAL on the digit row, 0 last as on the keyboard.
constexpr std::array<Qt::Key, kFx1Channel> kDigitKeys{Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                                      Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0};

}  // namespace

WindowShortcuts::WindowShortcuts(QWidget& window, Actions actions) : QObject(&window), window_(window) {
  for (int channel = 0; channel <= kLastEditorChannel; ++channel) {
    Add(ChannelKey(channel), [choose = actions.chooseChannel, channel] { choose(channel); });
  }
  Add(QKeySequence(Qt::CTRL | Qt::Key_M), actions.muteFocusedChannel);
  Add(QKeySequence(Qt::Key_Escape), actions.leaveEditor);
  // Switched off while a text field has the keyboard, so that its keys reach it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FollowFocus(now); });
  FollowFocus(QApplication::focusWidget());
}

QKeySequence WindowShortcuts::ChannelKey(int channel) {
  if (channel < kFx1Channel) return QKeySequence(Qt::CTRL | kDigitKeys[static_cast<std::size_t>(channel)]);
  return QKeySequence(static_cast<Qt::Key>(Qt::Key_F1 + (channel - kFx1Channel)));
}

QString WindowShortcuts::WithKey(const QString& name, const QKeySequence& key) {
  return name + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QStringLiteral(")");
}

void WindowShortcuts::Add(const QKeySequence& key, std::function<void()> action) {
  auto* shortcut = new QShortcut(key, &window_);
  connect(shortcut, &QShortcut::activated, this, std::move(action));
  shortcuts_.push_back(shortcut);
}

void WindowShortcuts::FollowFocus(const QWidget* focused) {
  const bool on = !EditsText(focused);
  for (QShortcut* shortcut : shortcuts_) shortcut->setEnabled(on);
}

}  // namespace rmt4::ui
