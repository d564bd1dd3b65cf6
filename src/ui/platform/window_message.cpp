#include "ui/platform/window_message.h"

#include <QCoreApplication>
#include <QThread>

namespace rmt4::ui {

void PostWindowMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam) {
  if (target == nullptr) return;
  QCoreApplication::postEvent(target, new WindowMessage(message, wParam, lParam));
}

bool SendWindowMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam) {
  if (target == nullptr) return false;
  Q_ASSERT(target->thread() == QThread::currentThread());
  WindowMessage event(message, wParam, lParam);
  return QCoreApplication::sendEvent(target, &event);
}

const WindowMessage* AsWindowMessage(const QEvent* event) {
  return event->type() >= QEvent::User && event->type() <= QEvent::MaxUser ? dynamic_cast<const WindowMessage*>(event)
                                                                             : nullptr;
}

}  // namespace rmt4::ui
