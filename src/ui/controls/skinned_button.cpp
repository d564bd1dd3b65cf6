#include "ui/controls/skinned_button.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "ui/controls/keyboard_focus.h"
#include "ui/controls/host_background.h"
#include "ui/controls/text_format.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

constexpr int kStateOff = 1;
constexpr int kStateOn = 2;
constexpr int kDisabledFrame = 3;

}  // namespace

SkinnedButton::SkinnedButton(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
  // Every pixel comes from the composed frame; Qt need not clear behind it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // Tab focuses it and Space then clicks it; a mouse click leaves the keyboard
  // where it is, so a field being typed in stays open under a click on undo.
  setFocusPolicy(Qt::TabFocus);
}

void SkinnedButton::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  InvalidateLayout();
}

void SkinnedButton::SetFontStyle(int styleBits) {
  fontStyle_ = styleBits;
  InvalidateLayout();
}

void SkinnedButton::SetSkin(const OffscreenBuffer* backgroundSource, int pngResourceId) {
  textRect_ = rect();
  skinImage_ = LoadArtwork(pngResourceId);
  if (skinned() && width() > 0) frameCount_ = std::max(1, skinImage_.width() / width());
  backgroundSource_ = backgroundSource;
  // A new source and new scale factors need a fresh background copy and
  // caption layout; the host repaints when it is ready.
  backgroundValid_ = false;
  frameValid_ = false;
}

void SkinnedButton::SetTextStyle(std::uint32_t flags, int size, const QString& face, std::uint32_t colour) {
  textFlags_ = flags;
  fontSize_ = size;
  fontFace_ = face;
  textColour_ = colour;
  InvalidateLayout();
}

void SkinnedButton::SetState(int state) {
  if (!isEnabled() || (state != kStateOff && state != kStateOn)) return;
  // Refreshes set the state the button already shows: nothing to redraw.
  if (state == state_ && frameIndex_ == (state == kStateOn ? 1 : 0) && !pressed_) return;
  state_ = state;
  frameIndex_ = state == kStateOn ? 1 : 0;
  pressed_ = false;
  InvalidateFrame();
}

void SkinnedButton::Toggle() {
  if (!isEnabled()) return;
  if (state_ == kStateOff) {
    state_ = kStateOn;
    frameIndex_ = 1;
  } else if (state_ == kStateOn) {
    state_ = kStateOff;
    frameIndex_ = 0;
  }
  pressed_ = false;
  InvalidateFrame();
}

void SkinnedButton::SetText(const QString& text) {
  text_ = text;
  InvalidateFrame();
}

void SkinnedButton::SetShown(bool shown) {
  shown_ = shown;
  SetKeyboardReachable(*this, Qt::TabFocus, shown);
  InvalidateFrame();
}

void SkinnedButton::Click() {
  if (!acceptsPointer()) return;
  Toggle();
  PostWindowMessage(parentWidget(), controlId_, buttonIndex_, buttonIndex_);
  ShowBodyFrameOfState();
  InvalidateFrame();
}

void SkinnedButton::Refresh() { InvalidateFrame(); }

void SkinnedButton::InvalidateFrame() {
  frameValid_ = false;
  update();
}

void SkinnedButton::InvalidateLayout() {
  backgroundValid_ = false;
  InvalidateFrame();
}

void SkinnedButton::paintEvent(QPaintEvent*) {
  UpdateComposedFrame();
  QPainter(this).drawImage(0, 0, composedFrame_);
  DrawFocusMark(*this);
}

void SkinnedButton::UpdateComposedFrame() {
  if (frameValid_) return;
  frameValid_ = true;
  EnsureLayout();
  if (shown_) {
    Compose();
  } else {
    composedFrame_ = background_;
  }
}

void SkinnedButton::LayOut() {
  backgroundValid_ = true;
  background_ = CopyHostBackground(*this, backgroundSource_, ancestorLevel_);
  if (skinned()) {
    scaleX_ = frameCount_ * static_cast<qreal>(width()) / skinImage_.width();
    scaleY_ = static_cast<qreal>(height()) / skinImage_.height();
  } else {
    scaleX_ = 1.0;
    scaleY_ = 1.0;
    textRect_ = rect();
  }
  font_ = MakeFont(fontFace_, fontSize_, fontStyle_);

  qreal x = textRect_.left() * scaleX_;
  qreal y = textRect_.top() * scaleY_;
  qreal layoutWidth = textRect_.width() * scaleX_ - 1;
  qreal layoutHeight = textRect_.height() * scaleY_ - 1;
  // Single-line captions get a rectangle of their own measured size, so that
  // a later SetText stays aligned on the same point.
  const QSizeF measured = MeasureText(font_, text_);
  if (textFlags_ & kTextSingleLine) {
    if (textFlags_ & kTextCentreV) {
      y += (layoutHeight - measured.height()) * 0.5;
      layoutHeight = measured.height();
    } else if (textFlags_ & kTextBottom) {
      y += layoutHeight - measured.height();
      layoutHeight = measured.height();
    }
  }
  if (textFlags_ & kTextCentreH) {
    x += (layoutWidth - measured.width()) * 0.5;
    layoutWidth = measured.width();
  }
  layoutRect_ = QRectF(x, y, layoutWidth, layoutHeight);
}

void SkinnedButton::Compose() {
  composedFrame_ = background_;
  QPainter painter(&composedFrame_);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  // A skin without the wanted frame (a disabled two-frame button) shows frame 0.
  if (frameIndex_ >= frameCount_) frameIndex_ = 0;
  if (skinned()) {
    DrawSkinFrame(painter, frameIndex_);
    if (hover_ && isEnabled() && hoverFrame_ < frameCount_) DrawSkinFrame(painter, hoverFrame_);
  }
  // A one-line caption wider than its field reads from its start, cut with "…"
  // at the end, instead of losing both ends; the tooltip holds it whole.
  const qreal fieldWidth = textRect_.width() * scaleX_ - 1;
  const QString shown = (textFlags_ & kTextSingleLine) != 0
                            ? QFontMetricsF(font_).elidedText(text_, Qt::ElideRight, fieldWidth)
                            : text_;
  FillTextOutline(painter, layoutRect_, textFlags_, font_, shown, ColourFromArgb(textColour_));
}

void SkinnedButton::DrawSkinFrame(QPainter& painter, int frame) const {
  const qreal frameWidth = static_cast<qreal>(skinImage_.width()) / frameCount_;
  painter.drawImage(QRectF(rect()), skinImage_, QRectF(frame * frameWidth, 0, frameWidth, skinImage_.height()));
}

QRect SkinnedButton::PressRect() const {
  const int left = static_cast<int>(textRect_.left() * scaleX_);
  const int top = static_cast<int>(textRect_.top() * scaleY_);
  const int right = static_cast<int>((textRect_.left() + textRect_.width()) * scaleX_);
  const int bottom = static_cast<int>((textRect_.top() + textRect_.height()) * scaleY_);
  return QRect(left, top, right - left, bottom - top);
}

QRect SkinnedButton::HoverRect() const {
  const QRect press = PressRect();
  const int left = std::max(press.left(), 1);
  const int top = std::max(press.top(), 1);
  const int right = std::min(press.left() + press.width(), width() - 1);
  const int bottom = std::min(press.top() + press.height(), height() - 1);
  return QRect(left, top, right - left, bottom - top);
}

void SkinnedButton::EnsureLayout() {
  if (!backgroundValid_) LayOut();
}

void SkinnedButton::HandleMove(const QPoint& position) {
  if (pressed_) return;
  EnsureLayout();
  if (HoverRect().contains(position)) {
    if (!hover_) {
      hover_ = true;
      InvalidateFrame();
    }
    setCursor(Qt::PointingHandCursor);
  } else if (hover_) {
    EndHover();
  }
}

void SkinnedButton::EndHover() {
  hover_ = false;
  InvalidateFrame();
  unsetCursor();
}

void SkinnedButton::ShowBodyFrameOfState() {
  if (state_ == kStateOff) frameIndex_ = 0;
  if (state_ == kStateOn) frameIndex_ = 1;
}

void SkinnedButton::mouseMoveEvent(QMouseEvent* event) {
  if (acceptsPointer()) HandleMove(event->position().toPoint());
}

// A double-click reaches here as a second press (QWidget's default handler).
void SkinnedButton::mousePressEvent(QMouseEvent* event) {
  if (!acceptsPointer() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  EnsureLayout();
  if (PressRect().contains(event->position().toPoint())) {
    setCursor(Qt::PointingHandCursor);
    pressed_ = true;
  }
  InvalidateFrame();
}

// Qt keeps sending the pointer to the button that took the press, so a press
// that started inside counts as a click wherever it is released.
void SkinnedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (!acceptsPointer() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const bool clicked = pressed_;
  pressed_ = false;
  if (clicked) Click();
  HandleMove(event->position().toPoint());
  ShowBodyFrameOfState();
  InvalidateFrame();
}

void SkinnedButton::keyPressEvent(QKeyEvent* event) {
  // Held down, Space clicks once, as a held mouse button does.
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && acceptsPointer()) {
    event->accept();
    if (!event->isAutoRepeat()) Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void SkinnedButton::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void SkinnedButton::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void SkinnedButton::leaveEvent(QEvent* event) {
  if (hover_ && !pressed_) EndHover();
  QWidget::leaveEvent(event);
}

void SkinnedButton::moveEvent(QMoveEvent* event) {
  InvalidateLayout();
  QWidget::moveEvent(event);
}

void SkinnedButton::resizeEvent(QResizeEvent* event) {
  InvalidateLayout();
  QWidget::resizeEvent(event);
}

void SkinnedButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && skinned()) {
    if (isEnabled()) {
      ShowBodyFrameOfState();
    } else {
      // A disabled button comes back latched off.
      state_ = kStateOff;
      frameIndex_ = kDisabledFrame;
    }
    hover_ = false;
    pressed_ = false;
    unsetCursor();
    InvalidateFrame();
  }
  QWidget::changeEvent(event);
}

}  // namespace rmt4::ui
