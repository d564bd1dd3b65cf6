#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>

namespace rmt4 {
class EditHistory;
}

namespace rmt4::ui {

/// Makes each gesture of the user one undo step, for every window and
/// control at once: it watches the application's input. A press of a mouse
/// button opens a step that closes once the release has been handled (with
/// what the controls posted on the way); wheel notches and arrow, page, Home
/// and End keys on one control form one step until a pause of kBurstPauseMs
/// or another control; any other key (Enter committing a field) is a step of
/// its own. An edit outside all of these closes as soon as the events it came
/// with are handled.
class EditGestures final : public QObject {
 public:
  static constexpr int kBurstPauseMs = 500;

  /// Watches the application's input from now until destroyed.
  explicit EditGestures(EditHistory& history);
  ~EditGestures() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  /// kReleased: the button is up, the step closes once what it posted is handled;
  /// kUnasked: an edit that came with no input (a timer, a window's own doing).
  enum class Gesture { kNone, kHeld, kReleased, kBurst, kKey, kUnasked };

  void Begin(Gesture gesture, QObject* control);
  /// Closes the step once every event posted before it, and after it by the
  /// handlers of those, has been handled.
  void CloseWhenHandled();
  void Close();
  void Burst(QObject* control, std::uint64_t timestamp);

  EditHistory& history_;
  Gesture gesture_ = Gesture::kNone;
  /// Numbers the gestures, so a late close meets only its own.
  std::uint64_t serial_ = 0;
  /// The control the gesture began on.
  QPointer<QObject> control_;
  std::uint64_t burstTime_ = 0;
  QTimer burstPause_;
};

}  // namespace rmt4::ui
