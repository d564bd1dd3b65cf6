#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace rmt4::test {

/// Keeps the window thread's events flowing until `done` holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, int limitMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

/// The message box now open, if any.
inline QMessageBox* OpenMessageBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

/// Runs `answer` on the next message box to open. Modal boxes run their own
/// event loop, so the answer comes from a timer that fires inside it.
inline void AnswerNextMessageBox(std::function<void(QMessageBox&)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
    QMessageBox* box = OpenMessageBox();
    if (box == nullptr) return;
    timer->stop();
    timer->deleteLater();
    answer(*box);
  });
  timer->start(5);
}

/// Presses the button of `box` whose text contains `text`; false when there is none.
inline bool PressButton(QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons()) {
    if (button->text().contains(text)) {
      button->click();
      return true;
    }
  }
  return false;
}

}  // namespace rmt4::test
