#include "ui/controls/skinned_fader.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

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

SkinnedFader::SkinnedFader(QWidget* parent, int controlId) : SkinnedValueControl(parent, controlId) {}

bool SkinnedFader::SetSkin(int style, const OffscreenBuffer* source, int pngId) {
  return LoadSkin(source, pngId, style, static_cast<int>(kFaderStyles.size()));
}

bool SkinnedFader::InputAllowed() const { return SkinnedValueControl::InputAllowed() && isEnabled(); }

void SkinnedFader::LayOut() {
  const FaderStyle& s = StyleRow(styleIndex());
  scaleX_ = static_cast<double>(width()) / s.baseWidth;
  scaleY_ = static_cast<double>(height()) / s.baseHeight;
  const double along = vertical_ ? scaleY_ : scaleX_;
  const double across = vertical_ ? scaleX_ : scaleY_;
  posAtMin_ = along * s.posAtMin;
  posAtMax_ = along * s.posAtMax;
  crossCentre_ = across * s.crossCentre;
  capW_ = static_cast<int>(s.capWidth * scaleX_);
  capH_ = static_cast<int>(s.capHeight * scaleY_);
}

double SkinnedFader::CapCentre() const {
  const int range = maxValue_ - minValue_;
  if (range == 0) return posAtMin_;
  const int clamped = std::min(std::max(position_, minValue_), maxValue_);
  return posAtMin_ + (clamped - minValue_) * (posAtMax_ - posAtMin_) / range;
}

QRect SkinnedFader::CapBox() const {
  const double centreX = vertical_ ? crossCentre_ : CapCentre();
  const double centreY = vertical_ ? CapCentre() : crossCentre_;
  const int left = static_cast<int>(centreX - capW_ / 2.0);
  const int right = static_cast<int>(centreX + capW_ / 2.0);
  const int top = static_cast<int>(centreY - capH_ / 2.0);
  const int bottom = static_cast<int>(centreY + capH_ / 2.0);
  return QRect(left, top, right - left, bottom - top);
}

QRectF SkinnedFader::Oriented(double along, double across, double alongSize, double acrossSize) const {
  return vertical_ ? QRectF(across, along, acrossSize, alongSize) : QRectF(along, across, alongSize, acrossSize);
}

void SkinnedFader::ClampPosition() { position_ = std::min(std::max(position_, minValue_), maxValue_); }

void SkinnedFader::StepUp() {
  position_ = static_cast<int>(position_ < coarseThreshold_ ? position_ + step_ : position_ + 10.0 * step_);
  InvalidateFrame();
}

void SkinnedFader::StepDown() {
  position_ = static_cast<int>(position_ > coarseThreshold_ ? position_ - 10.0 * step_ : position_ - step_);
  InvalidateFrame();
}

void SkinnedFader::MoveToEnd(bool top) {
  position_ = top ? static_cast<int>(endKeyTop().value_or(maxValue_)) : minValue_;
  InvalidateFrame();
}

void SkinnedFader::Notify() {
  ClampPosition();
  SendWindowMessage(parentWidget(), controlId(), faderIndex_, position_);
}

void SkinnedFader::SetPosition(double x) {
  if (dragging()) return;
  const int position = static_cast<int>(setScale_ * x);
  if (position == position_) return;  // a refresh with the same value redraws nothing
  SetAndRedraw(position_, position);
}

void SkinnedFader::SetMinValue(int value) { SetAndRedraw(minValue_, value); }

void SkinnedFader::SetMaxValue(int value) { SetAndRedraw(maxValue_, value); }

void SkinnedFader::SetVertical(bool vertical) {
  vertical_ = vertical;
  UpdateGeometryIfSkinned();
}

void SkinnedFader::Compose(QImage& frame) {
  ClampPosition();
  const FaderStyle& s = StyleRow(styleIndex());
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
    painter.drawImage(Oriented(0, 0, centre, extentAcross), skinImage(), Oriented(0, 0, sourceCentre, baseAcross));
    painter.drawImage(Oriented(centre, 0, extentAlong - centre, extentAcross), skinImage(),
                      Oriented(sourceCentre, baseAcross, baseAlong - sourceCentre, baseAcross));
  } else {
    painter.drawImage(Oriented(0, 0, extentAlong, extentAcross), skinImage(),
                      Oriented(0, 0, sourceCentre, baseAcross));
  }
  const RowSpan cap = !isEnabled() ? s.passiveCap : focusLook() ? s.capLook1 : s.capLook0;
  const int capAlong = vertical_ ? capH_ : capW_;
  const double capSize = (vertical_ ? s.capHeight : s.capWidth) * alongScale;
  painter.drawImage(Oriented(centre - capAlong / 2, 0, capSize, extentAcross), skinImage(),
                    Oriented(cap.top, 0, cap.bottom - cap.top, baseAcross));
}

void SkinnedFader::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    EndDrag();
    Redraw();
  }
  SkinnedValueControl::changeEvent(event);
}

void SkinnedFader::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed()) return;
  setFocus(Qt::MouseFocusReason);
  if (CapBox().contains(event->position().toPoint())) {
    BeginDrag();
    Notify();
  }
  ShowFocusLook();
  update();
}

bool SkinnedFader::DragTo(const QPoint& at) {
  const double span = posAtMax_ - posAtMin_;
  if (span == 0.0) return false;
  const double c = vertical_ ? at.y() : at.x();
  position_ = static_cast<int>(minValue_ + (c - posAtMin_) * (maxValue_ - minValue_) / span);
  return true;
}

SkinnedValueControl::KeyAction SkinnedFader::ActionForKey(int key) const {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Right:
      return KeyAction::StepUp;
    case Qt::Key_Down:
    case Qt::Key_Left:
      return KeyAction::StepDown;
    default:
      return KeyAction::PassOn;
  }
}

}  // namespace rmt4::ui
