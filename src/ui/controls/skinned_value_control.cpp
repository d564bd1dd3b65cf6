#include "ui/controls/skinned_value_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/controls/keyboard_focus.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {

SkinnedValueControl::SkinnedValueControl(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Like a native child control, a click is the control's alone.
  setAttribute(Qt::WA_NoMousePropagation);
  // Tab and click focus it; the wheel only moves it, wherever the focus is.
  setFocusPolicy(Qt::StrongFocus);
}

bool SkinnedValueControl::LoadSkin(const OffscreenBuffer* source, int pngId, int style, int styleCount) {
  skinImage_ = QImage();
  backgroundSource_ = source;
  frame_.InvalidateBackground();
  if (style < 0 || style >= styleCount) {
    update();
    return false;
  }
  styleIndex_ = style;
  skinImage_ = LoadArtwork(pngId);
  UpdateGeometry();
  return !skinImage_.isNull();
}

bool SkinnedValueControl::InputAllowed() const { return skinLoaded() && skinVisible_; }

void SkinnedValueControl::ShowFocusLook() {
  focusLook_ = true;
  frame_.InvalidateFrame();
}

void SkinnedValueControl::UpdateGeometry() {
  LayOut();
  frame_.InvalidateBackground();
  update();
}

void SkinnedValueControl::UpdateGeometryIfSkinned() {
  if (skinLoaded()) UpdateGeometry();
}

void SkinnedValueControl::BeginDrag() {
  dragging_ = true;
  setCursor(Qt::PointingHandCursor);
}

void SkinnedValueControl::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  unsetCursor();
}

void SkinnedValueControl::SetSkinVisible(bool visible) {
  if (!visible) EndDrag();
  SetKeyboardReachable(*this, Qt::StrongFocus, visible);
  SetAndRedraw(skinVisible_, visible);
}

void SkinnedValueControl::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  frame_.InvalidateBackground();
  update();
}

void SkinnedValueControl::paintEvent(QPaintEvent*) {
  if (!skinLoaded()) return;
  const QImage& picture =
      frame_.Frame(*this, backgroundSource_, ancestorLevel_, skinVisible_, [this](QImage& f) { Compose(f); });
  QPainter(this).drawImage(0, 0, picture);
  DrawFocusMark(*this);
}

void SkinnedValueControl::resizeEvent(QResizeEvent*) { UpdateGeometryIfSkinned(); }

void SkinnedValueControl::moveEvent(QMoveEvent*) {
  // The host's pixels under the control differ at the new place.
  frame_.InvalidateBackground();
  update();
}

void SkinnedValueControl::showEvent(QShowEvent*) { update(); }

void SkinnedValueControl::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!dragging_ || !InputAllowed()) return;
  if (!DragTo(event->position().toPoint())) return;
  frame_.InvalidateFrame();
  repaint();
  Notify();
}

void SkinnedValueControl::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed() || !dragging_) return;
  frame_.InvalidateFrame();
  EndDrag();
  Notify();
  update();
}

void SkinnedValueControl::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (!InputAllowed()) return;
  const int delta = event->angleDelta().y();
  if (delta > 0) {
    StepUp();
  } else if (delta < 0) {
    StepDown();
  }
  Notify();
  update();
}

SkinnedValueControl::KeyAction SkinnedValueControl::KeyActionOf(int key) const {
  switch (key) {
    case Qt::Key_PageUp:
      return KeyAction::PageUp;
    case Qt::Key_PageDown:
      return KeyAction::PageDown;
    case Qt::Key_Home:
      return KeyAction::ToBottom;
    case Qt::Key_End:
      return KeyAction::ToTop;
    default:
      return ActionForKey(key);
  }
}

void SkinnedValueControl::Apply(KeyAction action) {
  constexpr int kPageSteps = 10;
  switch (action) {
    case KeyAction::StepUp:
      StepUp();
      break;
    case KeyAction::StepDown:
      StepDown();
      break;
    case KeyAction::PageUp:
      for (int k = 0; k < kPageSteps; ++k) StepUp();
      break;
    case KeyAction::PageDown:
      for (int k = 0; k < kPageSteps; ++k) StepDown();
      break;
    case KeyAction::ToBottom:
    case KeyAction::ToTop:
      MoveToEnd(action == KeyAction::ToTop);
      break;
    default:
      break;
  }
}

// One key press is one change sent, however many steps it moves.
void SkinnedValueControl::keyPressEvent(QKeyEvent* event) {
  const KeyAction action = InputAllowed() ? KeyActionOf(event->key()) : KeyAction::PassOn;
  if (action == KeyAction::PassOn) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  Apply(action);
  Notify();
  repaint();
}

void SkinnedValueControl::focusInEvent(QFocusEvent*) {
  ShowFocusLook();
  update();
}

void SkinnedValueControl::focusOutEvent(QFocusEvent*) { SetAndRedraw(focusLook_, false); }

}  // namespace rmt4::ui
