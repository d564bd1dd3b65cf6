#pragma once

#include <QString>
#include <QWidget>

#include "i18n/message_presenter.h"

namespace rmt4::ui {

/// The buttons a message-box style word asks for: the word without its icon bits.
[[nodiscard]] MessageStyle ButtonsOf(MessageStyle style);

/// A modal message box on the window thread, owned by `owner`, with its
/// buttons labelled in the current interface language and the icon its style
/// word asks for (none unless it carries icon bits). An empty caption
/// takes the owner window's title ("RMT-4"). Returns the button pressed;
/// closing the box without one counts as Cancel, No or OK (whichever it offers).
MessageButton ShowMessageBox(QWidget* owner, MessageStyle style, const QString& text, const QString& caption = {});

}  // namespace rmt4::ui
