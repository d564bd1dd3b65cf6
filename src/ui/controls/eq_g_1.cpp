#include "ui/controls/eq_g_1.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <array>

#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

/// Rows of one cap look in the skin; a cap spans the base width.
struct RowSpan {
  int top, bottom;
};

/// One row of the fader style table (skin-image pixels). The slot is drawn
/// from the first base-sized column above the cap and from the second below it.
struct FaderStyle {
  int baseWidth, baseHeight;
  int capWidth, capHeight;
  double posAtMin, crossCentre, posAtMax;
  RowSpan capLook0, capLook1, passiveCap;
};

constexpr std::array<FaderStyle, 4> kFaderStyles{{
    // Channel strips (PNG 141).
    {59, 293, 22, 36, 275, 29, 18, {310, 346}, {350, 386}, {320, 358}},
    // Channel editor frame (PNG 151).
    {59, 231, 22, 36, 213, 29, 18, {240, 276}, {280, 316}, {180, 216}},
    {79, 137, 16, 23, 125, 39, 12, {150, 173}, {190, 213}, {180, 203}},
    {40, 98, 16, 23, 86, 20, 12, {120, 143}, {150, 173}, {180, 203}},
}};

const FaderStyle& StyleRow(int index) { return kFaderStyles[static_cast<std::size_t>(index)]; }

}  // namespace

CEQ_G_1::CEQ_G_1(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Like a native child control, a click is the fader's alone.
  setAttribute(Qt::WA_NoMousePropagation);
  // Focus is taken explicitly on a click, never by tabbing.
  setFocusPolicy(Qt::NoFocus);
}

bool CEQ_G_1::SetSkin(int style, const CMemDcClass* source, int pngId) {
  skinImage_ = QImage();
  backgroundSource_ = source;
  frame_.InvalidateBackground();
  if (style < 0 || style >= static_cast<int>(kFaderStyles.size())) {
    update();
    return false;
  }
  styleIndex_ = style;
  skinImage_ = LoadArtwork(pngId);
  UpdateGeometry();
  return !skinImage_.isNull();
}

bool CEQ_G_1::InputAllowed() const { return !skinImage_.isNull() && skinVisible_ && isEnabled(); }

void CEQ_G_1::UpdateGeometry() {
  const FaderStyle& s = StyleRow(styleIndex_);
  scaleX_ = static_cast<double>(width()) / s.baseWidth;
  scaleY_ = static_cast<double>(height()) / s.baseHeight;
  const double along = vertical_ ? scaleY_ : scaleX_;
  const double across = vertical_ ? scaleX_ : scaleY_;
  posAtMin_ = along * s.posAtMin;
  posAtMax_ = along * s.posAtMax;
  crossCentre_ = across * s.crossCentre;
  capW_ = static_cast<int>(s.capWidth * scaleX_);
  capH_ = static_cast<int>(s.capHeight * scaleY_);
  frame_.InvalidateBackground();
  update();
}

double CEQ_G_1::CapCentre() const {
  const int range = maxValue_ - minValue_;
  if (range == 0) return posAtMin_;
  const int clamped = std::min(std::max(position_, minValue_), maxValue_);
  return posAtMin_ + (clamped - minValue_) * (posAtMax_ - posAtMin_) / range;
}

QRect CEQ_G_1::CapBox() const {
  const double centreX = vertical_ ? crossCentre_ : CapCentre();
  const double centreY = vertical_ ? CapCentre() : crossCentre_;
  const int left = static_cast<int>(centreX - capW_ / 2.0);
  const int right = static_cast<int>(centreX + capW_ / 2.0);
  const int top = static_cast<int>(centreY - capH_ / 2.0);
  const int bottom = static_cast<int>(centreY + capH_ / 2.0);
  return QRect(left, top, right - left, bottom - top);
}

QRectF CEQ_G_1::Oriented(double along, double across, double alongSize, double acrossSize) const {
  return vertical_ ? QRectF(across, along, acrossSize, alongSize) : QRectF(along, across, alongSize, acrossSize);
}

void CEQ_G_1::ClampPosition() { position_ = std::min(std::max(position_, minValue_), maxValue_); }

void CEQ_G_1::StepUp() {
  position_ = static_cast<int>(position_ < coarseThreshold_ ? position_ + step_ : position_ + 10.0 * step_);
  frame_.InvalidateFrame();
}

void CEQ_G_1::StepDown() {
  position_ = static_cast<int>(position_ > coarseThreshold_ ? position_ - 10.0 * step_ : position_ - step_);
  frame_.InvalidateFrame();
}

void CEQ_G_1::Notify() {
  ClampPosition();
  SendWindowMessage(parentWidget(), controlId_, faderIndex_, position_);
}

void CEQ_G_1::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  unsetCursor();
}

void CEQ_G_1::SetPosition(double x) {
  if (dragging_) return;
  position_ = static_cast<int>(setScale_ * x);
  frame_.InvalidateFrame();
  repaint();
}

void CEQ_G_1::SetMinValue(int value) {
  minValue_ = value;
  frame_.InvalidateFrame();
  update();
}

void CEQ_G_1::SetMaxValue(int value) {
  maxValue_ = value;
  frame_.InvalidateFrame();
  update();
}

void CEQ_G_1::SetVertical(bool vertical) {
  vertical_ = vertical;
  if (!skinImage_.isNull()) UpdateGeometry();
}

void CEQ_G_1::SetSkinVisible(bool visible) {
  skinVisible_ = visible;
  if (!visible) EndDrag();
  frame_.InvalidateFrame();
  update();
}

void CEQ_G_1::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  frame_.InvalidateBackground();
  update();
}

void CEQ_G_1::paintEvent(QPaintEvent*) {
  if (skinImage_.isNull()) return;
  const QImage& picture =
      frame_.Frame(*this, backgroundSource_, ancestorLevel_, skinVisible_, [this](QImage& f) { Compose(f); });
  QPainter(this).drawImage(0, 0, picture);
}

void CEQ_G_1::Compose(QImage& frame) {
  ClampPosition();
  const FaderStyle& s = StyleRow(styleIndex_);
  const double centre = CapCentre();
  const double alongScale = vertical_ ? scaleY_ : scaleX_;
  const double baseAlong = vertical_ ? s.baseHeight : s.baseWidth;
  const double baseAcross = vertical_ ? s.baseWidth : s.baseHeight;
  const double extentAlong = vertical_ ? height() : width();
  const double extentAcross = vertical_ ? width() : height();
  const double sourceCentre = centre / alongScale;

  QPainter painter(&frame);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (isEnabled()) {
    painter.drawImage(Oriented(0, 0, centre, extentAcross), skinImage_, Oriented(0, 0, sourceCentre, baseAcross));
    painter.drawImage(Oriented(centre, 0, extentAlong - centre, extentAcross), skinImage_,
                      Oriented(sourceCentre, baseAcross, baseAlong - sourceCentre, baseAcross));
  } else {
    painter.drawImage(Oriented(0, 0, extentAlong, extentAcross), skinImage_,
                      Oriented(0, 0, sourceCentre, baseAcross));
  }
  const RowSpan cap = !isEnabled() ? s.passiveCap : focusLook_ ? s.capLook1 : s.capLook0;
  const int capAlong = vertical_ ? capH_ : capW_;
  const double capSize = (vertical_ ? s.capHeight : s.capWidth) * alongScale;
  painter.drawImage(Oriented(centre - capAlong / 2, 0, capSize, extentAcross), skinImage_,
                    Oriented(cap.top, 0, cap.bottom - cap.top, baseAcross));
}

void CEQ_G_1::resizeEvent(QResizeEvent*) {
  if (!skinImage_.isNull()) UpdateGeometry();
}

void CEQ_G_1::moveEvent(QMoveEvent*) {
  // The host's pixels under the control differ at the new place.
  frame_.InvalidateBackground();
  update();
}

void CEQ_G_1::showEvent(QShowEvent*) { update(); }

void CEQ_G_1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    EndDrag();
    frame_.InvalidateFrame();
    update();
  }
  QWidget::changeEvent(event);
}

void CEQ_G_1::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed()) return;
  setFocus(Qt::MouseFocusReason);
  if (CapBox().contains(event->position().toPoint())) {
    setCursor(Qt::PointingHandCursor);
    dragging_ = true;
    Notify();
  }
  frame_.InvalidateFrame();
  focusLook_ = true;
  update();
}

void CEQ_G_1::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!dragging_ || !InputAllowed()) return;
  const double span = posAtMax_ - posAtMin_;
  if (span == 0.0) return;
  const QPoint at = event->position().toPoint();
  const double c = vertical_ ? at.y() : at.x();
  position_ = static_cast<int>(minValue_ + (c - posAtMin_) * (maxValue_ - minValue_) / span);
  frame_.InvalidateFrame();
  repaint();
  Notify();
}

void CEQ_G_1::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed() || !dragging_) return;
  frame_.InvalidateFrame();
  EndDrag();
  Notify();
  update();
}

void CEQ_G_1::wheelEvent(QWheelEvent* event) {
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

void CEQ_G_1::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (!InputAllowed() || (key != Qt::Key_Up && key != Qt::Key_Down)) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (key == Qt::Key_Up) {
    StepUp();
  } else {
    StepDown();
  }
  Notify();
  repaint();
}

void CEQ_G_1::focusOutEvent(QFocusEvent*) {
  focusLook_ = false;
  frame_.InvalidateFrame();
  update();
}

}  // namespace rmt4::ui
