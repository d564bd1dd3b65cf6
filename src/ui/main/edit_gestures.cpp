#include "ui/main/edit_gestures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "history/edit_history.h"
#include "ui/platform/edits_text.h"

namespace rmt4::ui {
namespace {

const QEvent::Type kCloseStep = static_cast<QEvent::Type>(QEvent::registerEventType());

/// Posted when a gesture ends, carrying its number.
class CloseStepEvent final : public QEvent {
 public:
  explicit CloseStepEvent(std::uint64_t serial) : QEvent(kCloseStep), serial_(serial) {}
  [[nodiscard]] std::uint64_t serial() const { return serial_; }

 private:
  std::uint64_t serial_;
};

/// Keys that step or move a control's value; held or repeated they make a burst.
bool IsStepKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right ||
         key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
}

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
}

/// Whether `watched` is an ancestor of `control`: the event that `control` left unhandled, on its way up.
bool IsAncestorOf(const QObject* watched, const QObject* control) {
  for (const QObject* o = control != nullptr ? control->parent() : nullptr; o != nullptr; o = o->parent()) {
    if (o == watched) return true;
  }
  return false;
}

}  // namespace

EditGestures::EditGestures(EditHistory& history) : history_(history) {
  burstPause_.setSingleShot(true);
  burstPause_.setInterval(kBurstPauseMs);
  connect(&burstPause_, &QTimer::timeout, this, [this] {
    if (gesture_ == Gesture::kBurst) Close();
  });
  history_.SetStepOpenedHandler([this] {
    gesture_ = Gesture::kUnasked;
    control_ = nullptr;
    ++serial_;
    CloseWhenHandled();
  });
  qApp->installEventFilter(this);
}

EditGestures::~EditGestures() {
  qApp->removeEventFilter(this);
  history_.SetStepOpenedHandler({});
}

bool EditGestures::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // Seen again by each parent the press travels to: one gesture all the same.
      if (gesture_ != Gesture::kHeld) Begin(Gesture::kHeld, watched);
      break;
    case QEvent::MouseButtonRelease:
      if (gesture_ == Gesture::kHeld) {
        gesture_ = Gesture::kReleased;
        CloseWhenHandled();
      }
      break;
    case QEvent::Wheel:
      Burst(watched, static_cast<const QInputEvent*>(event)->timestamp());
      break;
    case QEvent::KeyPress: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (IsModifierKey(key->key())) break;
      // In a text field the arrows move the cursor; the field's Enter is the edit.
      if (IsStepKey(key->key()) && !EditsText(static_cast<QWidget*>(watched))) {
        Burst(watched, key->timestamp());
      } else if (gesture_ != Gesture::kKey || !IsAncestorOf(watched, control_)) {
        Begin(Gesture::kKey, watched);
        CloseWhenHandled();
      }
      break;
    }
    default:
      break;
  }
  return false;
}

void EditGestures::Burst(QObject* control, std::uint64_t timestamp) {
  if (gesture_ == Gesture::kBurst && burstTime_ == timestamp && IsAncestorOf(control, control_)) return;
  const std::uint64_t pause = timestamp > burstTime_ ? timestamp - burstTime_ : burstTime_ - timestamp;
  if (gesture_ != Gesture::kBurst || control != control_ || pause > static_cast<std::uint64_t>(kBurstPauseMs)) {
    Begin(Gesture::kBurst, control);
  }
  burstTime_ = timestamp;
  burstPause_.start();
}

void EditGestures::Begin(Gesture gesture, QObject* control) {
  burstPause_.stop();
  history_.BeginStep();
  gesture_ = gesture;
  control_ = control;
  ++serial_;
}

void EditGestures::CloseWhenHandled() {
  // Low priority: it waits behind every message the controls post, and those their hosts post in turn.
  QCoreApplication::postEvent(this, new CloseStepEvent(serial_), Qt::LowEventPriority);
}

void EditGestures::customEvent(QEvent* event) {
  if (event->type() == kCloseStep && static_cast<const CloseStepEvent*>(event)->serial() == serial_) Close();
}

void EditGestures::Close() {
  burstPause_.stop();
  gesture_ = Gesture::kNone;
  history_.EndStep();
}

}  // namespace rmt4::ui
