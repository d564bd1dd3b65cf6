#pragma once

// The user's hands for every window test: real mouse, wheel and key events,
// sent to the control as the window system delivers them.
#include <QCoreApplication>
#include <QLineEdit>
#include <QPoint>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <cstdlib>
#include <optional>

namespace rmt4::test {

/// Delivers what the controls posted, including what the handlers post in
/// turn (a click travels control → strip → window in posted messages).
inline void DeliverPosted() {
  for (int round = 0; round < 4; ++round) QCoreApplication::sendPostedEvents();
}

/// A left click at `at`, the middle of `widget` when not given; what the
/// click posted is then delivered, as the event loop would.
inline void Click(QWidget& widget, std::optional<QPoint> at = std::nullopt) {
  QTest::mouseClick(&widget, Qt::LeftButton, {}, at.value_or(widget.rect().center()));
  DeliverPosted();
}

/// A click on the right arrow of a horizontal scroll bar.
inline void ClickRightArrow(QScrollBar& bar) { Click(bar, QPoint(bar.width() - 4, bar.height() / 2)); }

/// A wheel turn of `delta` at `at`: 120 is one notch away from the user,
/// 0 a sideways turn.
inline void Wheel(QWidget& widget, QPoint at, int delta) {
  QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&widget, &event);
}

/// `notches` notches in the middle of `widget` (negative: towards the user),
/// one event each, as a mouse wheel sends them.
inline void Wheel(QWidget& widget, int notches) {
  for (int k = 0; k < std::abs(notches); ++k) Wheel(widget, widget.rect().center(), notches > 0 ? 120 : -120);
}

/// Clicks into `field`, erases what it holds and types `text`; keys without
/// modifiers, so that no bare Ctrl or Shift press travels on to the window.
inline void TypeOver(QLineEdit& field, const QString& text) {
  QTest::mouseClick(&field, Qt::LeftButton);
  QTest::keyClick(&field, Qt::Key_End);
  for (qsizetype held = field.text().size(); held > 0; --held) QTest::keyClick(&field, Qt::Key_Backspace);
  QTest::keyClicks(&field, text);
}

}  // namespace rmt4::test
