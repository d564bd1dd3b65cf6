#pragma once

#include <QEvent>
#include <QObject>

#include <cstdint>

namespace rmt4::ui {

/// Message numbers the windows and controls exchange. Each lies in Qt's user
/// event range, so a message is simply an event of that type.
enum Message : int {
  kUiNotify = 1025,         ///< link layer → main window
  kRefreshTexts = 1283,     ///< rebuild texts after a language change
  kButtonClicked = 3024,    ///< skinned buttons → host
  kFaderMoved = 3124,       ///< skinned faders → host
  kLabelOrSelector = 4024,  ///< title label; selectors of the editor frame
  kSliderMoved = 5024,      ///< skinned sliders → host
  kCurveEdited = 5245,      ///< response-curve editor → channel editor frame
  kMeter = 7024,            ///< level meters (they send nothing)
  kComboChanged = 7574,     ///< editor combo boxes → host
  kControlEdited = 22524,   ///< strips and editor panels → their host
  kRetranslate = 22624,     ///< main window: re-translate
};

/// A window message with its two parameters.
class WindowMessage final : public QEvent {
 public:
  WindowMessage(int message, std::intptr_t wParam, std::intptr_t lParam)
      : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

  [[nodiscard]] int message() const { return static_cast<int>(type()); }
  [[nodiscard]] std::intptr_t wParam() const { return wParam_; }
  [[nodiscard]] std::intptr_t lParam() const { return lParam_; }

 private:
  std::intptr_t wParam_;
  std::intptr_t lParam_;
};

/// Queues the message for the target's thread and returns at once.
void PostWindowMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam);

/// Delivers the message now; the caller must be on the target's thread
/// (other threads go through CrossThreadCaller).
bool SendWindowMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam);

/// The message when `event` is one, else nullptr.
[[nodiscard]] const WindowMessage* AsWindowMessage(const QEvent* event);

}  // namespace rmt4::ui
