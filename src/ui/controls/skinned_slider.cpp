#include "ui/controls/skinned_slider.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "ui/controls/number_format.h"
#include "ui/controls/text_format.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

/// Left, top, right, bottom in skin-image pixels.
struct Edges {
  int left, top, right, bottom;
  [[nodiscard]] int width() const { return right - left; }
  [[nodiscard]] int height() const { return bottom - top; }
};

constexpr std::uint32_t kCaptionColour = 0xFF9D9D9D;
constexpr int kCaptionedLayout = 1;

/// One row of the slider style table (skin-image pixels).
struct SliderStyle {
  int imageWidth, imageHeight;
  Edges track, band, thumbLook0, thumbLook1;
  int thumbWidth, thumbHeight;
  Edges toggle, toggleOff, toggleOn;
  /// a: width of the left background piece and source x of the right piece
  /// without the toggle; b: source x of the right piece with it; c: width of
  /// the right piece; d: track end with the toggle.
  int splitA, splitB, splitC, splitD;
};

// Styles without a toggle keep its rectangle far below the band, out of reach.
constexpr Edges kNoToggle{20, 246, 38, 266};
constexpr std::array<SliderStyle, 5> kSliderStyles{{
    {170, 33, {10, 24, 159, 25}, {0, 14, 170, 33}, {260, 16, 278, 32}, {235, 16, 253, 32}, 18, 16,
     {153, 16, 168, 31}, {306, 15, 322, 32}, {286, 15, 302, 32}, 112, 172, 58, 144},
    {195, 32, {13, 16, 182, 32}, {0, 16, 195, 32}, {280, 16, 306, 32}, {320, 16, 346, 32}, 26, 16,
     {179, 16, 195, 32}, {390, 16, 406, 32}, {370, 16, 386, 32}, 141, 210, 54, 166},
    // Strip pan and balance (PNG 142).
    {60, 15, {8, 0, 52, 15}, {0, 0, 60, 15}, {110, 0, 125, 15}, {137, 0, 152, 15}, 15, 15, kNoToggle, kNoToggle,
     kNoToggle, 34, 73, 54, 110},
    // Channel editor sliders (PNG 155).
    {214, 32, {13, 16, 201, 32}, {0, 16, 214, 32}, {250, 0, 276, 32}, {280, 0, 306, 32}, 26, 16, kNoToggle,
     kNoToggle, kNoToggle, 214, 214, 0, 110},
    // Editor frame balance (PNG 158).
    {214, 32, {13, 16, 201, 32}, {0, 16, 214, 32}, {250, 0, 266, 32}, {280, 0, 296, 32}, 16, 16, {0, 0, 0, 0},
     {0, 0, 0, 0}, {0, 0, 0, 0}, 214, 214, 0, 110},
}};

const SliderStyle& StyleRow(int index) { return kSliderStyles[static_cast<std::size_t>(index)]; }

}  // namespace

SkinnedSlider::SkinnedSlider(QWidget* parent, int controlId) : SkinnedValueControl(parent, controlId) {}

bool SkinnedSlider::SetSkin(const OffscreenBuffer* source, int pngId, int style) {
  toggleValue_ = toggleEnabled_ ? kToggleAmount : 0;
  return LoadSkin(source, pngId, style, static_cast<int>(kSliderStyles.size()));
}

bool SkinnedSlider::InputAllowed() const { return SkinnedValueControl::InputAllowed() && thumbVisible_; }

void SkinnedSlider::LayOut() {
  const SliderStyle& s = StyleRow(styleIndex());
  const int w = width();
  const int h = height();
  const int iw = s.imageWidth;
  const int ih = s.imageHeight;
  const int bh = s.band.height();
  trackStartX_ = static_cast<double>(w) * s.track.left / iw;
  trackEndX_ = static_cast<double>(w) * (toggleEnabled_ ? s.splitD : s.track.right) / iw;
  int toggleTop = 0;
  int toggleBottom = 0;
  if (captionLayout_ == kCaptionedLayout) {
    trackCentreY_ = (s.track.top + s.track.bottom) * static_cast<double>(h) / 2.0 / ih;
    thumbW_ = s.thumbWidth * w / iw;
    thumbH_ = s.thumbHeight * h / ih;
    tintThickness_ = 4.0 * h / ih;
    toggleTop = s.toggle.top * h / ih;
    toggleBottom = toggleTop + s.toggle.height() * h / ih;
  } else {
    const int bandOffset = ih - bh;  // the band is the bottom of the skin
    trackCentreY_ = ((s.track.top + s.track.bottom) / 2.0 - bandOffset) * h / bh;
    thumbW_ = s.thumbWidth * w / s.band.width();
    thumbH_ = s.thumbHeight * h / bh;
    tintThickness_ = 4.0 * h / bh;
    toggleTop = (s.toggle.top - bandOffset) * h / bh;
    toggleBottom = toggleTop + s.toggle.height() * h / bh;
  }
  const int toggleLeft = s.toggle.left * w / iw;
  const int toggleRight = toggleLeft + s.toggle.width() * w / iw;
  toggleRect_ = QRect(toggleLeft, toggleTop, toggleRight - toggleLeft, toggleBottom - toggleTop);
}

QRect SkinnedSlider::SourceRows() const {
  const SliderStyle& s = StyleRow(styleIndex());
  if (captionLayout_ == kCaptionedLayout) return QRect(0, 0, 1, s.imageHeight);
  return QRect(0, s.band.top, 1, s.band.height());
}

double SkinnedSlider::Clamped(double v) const { return std::min(std::max(v, minValue_), maxValue_); }

double SkinnedSlider::Quantise(double v) const {
  // std::round rounds halves away from zero.
  v = v >= fineThreshold_ ? std::round(v) : std::round(v / kFineStep) * kFineStep;
  return Clamped(v);
}

double SkinnedSlider::Fraction() const {
  const double range = maxValue_ - minValue_;
  return range != 0.0 ? (Clamped(value_) - minValue_) / range : 0.0;
}

int SkinnedSlider::ThumbX() const {
  return static_cast<int>(trackStartX_ + (trackEndX_ - trackStartX_) * Fraction() + 0.5);
}

QRect SkinnedSlider::ThumbBox() const {
  const int top = static_cast<int>(trackCentreY_ - thumbH_ / 2);
  return QRect(ThumbX() - thumbW_ / 2, top, thumbW_, thumbH_);
}

void SkinnedSlider::StepUp() {
  value_ = Quantise(value_ >= fineThreshold_ ? value_ + 1.0 : value_ + kFineStep);
  InvalidateFrame();
}

void SkinnedSlider::StepDown() {
  value_ = Quantise(value_ > fineThreshold_ ? value_ - 1.0 : value_ - kFineStep);
  InvalidateFrame();
}

void SkinnedSlider::MoveToEnd(bool top) {
  value_ = top ? Quantise(endKeyTop().value_or(maxValue_)) : minValue_;
  InvalidateFrame();
}

void SkinnedSlider::Notify() {
  SendWindowMessage(parentWidget(), controlId(), sliderIndex_, static_cast<std::intptr_t>(std::trunc(Clamped(value_))));
}

void SkinnedSlider::SetValue(double v) {
  if (dragging()) return;
  if (toggleEnabled_) {
    toggleValue_ = v >= kToggleAmount ? kToggleAmount : 0;
    if (toggleValue_ != 0) v -= kToggleAmount;
  }
  value_ = v;
  InvalidateFrame();
  repaint();
}

double SkinnedSlider::GetValue() const { return toggleEnabled_ ? value_ + toggleValue_ : value_; }

void SkinnedSlider::SetCaption(const QString& text) {
  captionText_ = text;
  InvalidateFrame();
  repaint();
}

void SkinnedSlider::SetCaptionFormat(const QString& format) { SetAndRedraw(captionFormat_, format); }

void SkinnedSlider::SetMinValue(double value) { SetAndRedraw(minValue_, value); }

void SkinnedSlider::SetMaxValue(double value) { SetAndRedraw(maxValue_, value); }

void SkinnedSlider::SetCaptionLayout(int layout) {
  captionLayout_ = layout;
  UpdateGeometryIfSkinned();
}

void SkinnedSlider::SetToggleEnabled(bool enabled) {
  toggleEnabled_ = enabled;
  UpdateGeometryIfSkinned();
}

void SkinnedSlider::SetShowLevelTint(bool show) { SetAndRedraw(showLevelTint_, show); }

void SkinnedSlider::SetThumbVisible(bool visible) {
  if (!visible) EndDrag();
  SetAndRedraw(thumbVisible_, visible);
}

void SkinnedSlider::Compose(QImage& frame) {
  const SliderStyle& s = StyleRow(styleIndex());
  const int w = width();
  const int h = height();
  const QRect rows = SourceRows();
  auto piece = [&](int sourceX, int sourceWidth) { return QRect(sourceX, rows.top(), sourceWidth, rows.height()); };

  QPainter painter(&frame);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (toggleEnabled_) {
    const Edges& look = toggleValue_ > 0 ? s.toggleOn : s.toggleOff;
    painter.drawImage(QRect(toggleRect_.left(), 0, toggleRect_.width(), h), skinImage(),
                      piece(look.left, look.width()));
  }
  const int splitX = w * s.splitA / s.imageWidth;
  painter.drawImage(QRect(0, 0, splitX, h), skinImage(), piece(0, s.imageWidth - s.splitC));
  painter.drawImage(QRect(splitX, 0, w * s.splitC / s.imageWidth, h), skinImage(),
                    piece(toggleEnabled_ ? s.splitB : s.splitA, s.splitC));
  if (showLevelTint_) DrawLevelTint(painter);
  if (thumbVisible_) {
    const Edges& look = focusLook() ? s.thumbLook1 : s.thumbLook0;
    painter.drawImage(QRect(ThumbX() - thumbW_ / 2, 0, thumbW_, h), skinImage(), piece(look.left, look.width()));
  }
  if (captionLayout_ == kCaptionedLayout) DrawCaption(painter);
}

void SkinnedSlider::DrawLevelTint(QPainter& painter) const {
  const int alpha = static_cast<int>(230.0 * Fraction()) % 256;
  const int left = static_cast<int>(trackStartX_);
  const int right = static_cast<int>(trackEndX_);
  QLinearGradient tint(left, 0, right, 4);
  tint.setColorAt(0.0, QColor(0, 0, 0, 0));
  tint.setColorAt(0.25, QColor(0, 255, 0, alpha));
  tint.setColorAt(0.5, QColor(255, 255, 0, alpha));
  tint.setColorAt(0.75, QColor(255, 0, 0, alpha));
  tint.setColorAt(1.0, QColor(0, 0, 0, 0));
  painter.fillRect(QRect(left, static_cast<int>(trackCentreY_ - tintThickness_ / 2),
                         static_cast<int>(trackEndX_ - trackStartX_), static_cast<int>(tintThickness_ + 0.5)),
                   tint);
}

void SkinnedSlider::DrawCaption(QPainter& painter) {
  if (!captionFormat_.isEmpty()) captionText_ = QString::fromStdString(FormatNumber(captionFormat_.toStdString(), value_));
  const SliderStyle& s = StyleRow(styleIndex());
  const int h = height();
  const int bh = s.band.height();
  const int fontSize = h - (bh + 1) * h / s.imageHeight - 1;
  if (fontSize <= 0 || captionText_.isEmpty()) return;
  const QRectF box(1, 0, width() - 2, h + 1 - bh * h / s.imageHeight);
  const QFont font = MakeFont(kCaptionFace, fontSize);
  const QColor colour = ColourFromArgb(kCaptionColour);
  // "Name:value" puts the name at the left and the value at the right.
  const qsizetype colon = captionText_.indexOf(u':');
  const QString left = colon < 0 ? captionText_ : captionText_.left(colon + 1);
  FillTextOutline(painter, box, kTextCentreV | kTextSingleLine, font, left, colour);
  if (colon >= 0) {
    FillTextOutline(painter, box, kTextRight | kTextCentreV | kTextSingleLine, font, captionText_.mid(colon + 1),
                    colour);
  }
}

void SkinnedSlider::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed()) return;
  const QPoint at = event->position().toPoint();
  const QRect thumb = ThumbBox();
  if (thumb.contains(at)) {
    BeginDrag();
    Notify();
  } else if (toggleEnabled_ && toggleRect_.contains(at)) {
    toggleValue_ = toggleValue_ == kToggleAmount ? 0 : kToggleAmount;
    Notify();
  } else {
    if (at.y() >= thumb.top() && at.y() <= thumb.bottom()) {
      // The toggle's rectangle bounds the step-up area whether or not the toggle is shown; the pan,
      // balance and editor styles keep it near the left end, so a click right of their thumb rarely steps.
      if (at.x() > thumb.right() && at.x() < toggleRect_.left()) {
        StepUp();
      } else if (at.x() < thumb.left()) {
        StepDown();
      }
    }
    Notify();
  }
  ShowFocusLook();
  setFocus(Qt::MouseFocusReason);
  update();
}

bool SkinnedSlider::DragTo(const QPoint& at) {
  const double span = trackEndX_ - trackStartX_;
  if (span == 0.0) return false;
  value_ = Quantise(minValue_ + (maxValue_ - minValue_) * (at.x() - trackStartX_) / span);
  return true;
}

SkinnedValueControl::KeyAction SkinnedSlider::ActionForKey(int key) const {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down:
      return KeyAction::StepDown;
    case Qt::Key_Right:
    case Qt::Key_Up:
      return KeyAction::StepUp;
    default:
      return KeyAction::PassOn;
  }
}

}  // namespace rmt4::ui
