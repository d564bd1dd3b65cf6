#include "ui/controls/skinned_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtGlobal>

#include "ui/controls/host_background.h"
#include "ui/controls/text_format.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

int AlignmentFlags(std::uint32_t textFlags) {
  int flags = Qt::TextDontClip;
  if (textFlags & kTextCentreH) {
    flags |= Qt::AlignHCenter;
  } else if (textFlags & kTextRight) {
    flags |= Qt::AlignRight;
  } else {
    flags |= Qt::AlignLeft;
  }
  if (textFlags & kTextCentreV) {
    flags |= Qt::AlignVCenter;
  } else if (textFlags & kTextBottom) {
    flags |= Qt::AlignBottom;
  } else {
    flags |= Qt::AlignTop;
  }
  flags |= (textFlags & kTextSingleLine) ? Qt::TextSingleLine : Qt::TextWordWrap;
  return flags;
}

/// The text's extent with no width limit (so nothing wraps).
QSizeF MeasureUnbounded(const QFont& font, std::uint32_t textFlags, const QString& text) {
  const int flags = Qt::AlignLeft | Qt::AlignTop | ((textFlags & kTextSingleLine) ? Qt::TextSingleLine : 0);
  constexpr qreal kUnlimited = 1e6;
  return QFontMetricsF(font).boundingRect(QRectF(0, 0, kUnlimited, kUnlimited), flags, text).size();
}

}  // namespace

SkinnedLabel::SkinnedLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateFont();
}

void SkinnedLabel::UpdateFont() { font_ = MakeFont(fontFace_, fontSize_, fontStyle_); }

void SkinnedLabel::SetBackgroundSource(const OffscreenBuffer* source) {
  backgroundSource_ = source;
  Invalidate();
}

void SkinnedLabel::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  Invalidate();
}

void SkinnedLabel::SetTextStyle(std::uint32_t flags, int size, const QString& face, std::uint32_t colour) {
  textFlags_ = flags;
  fontSize_ = size;
  fontFace_ = face;
  textColour_ = colour;
  UpdateFont();
  Invalidate();
}

void SkinnedLabel::SetFontStyle(int styleBits) {
  fontStyle_ = styleBits;
  UpdateFont();
  Invalidate();
}

void SkinnedLabel::SetFillColour(std::uint32_t argb) {
  fillColour_ = argb;
  Invalidate();
}

void SkinnedLabel::SetImage(int pngResourceId, qreal frameWidth, qreal frameHeight) {
  image_ = LoadArtwork(pngResourceId);
  if (image_.isNull()) qWarning("SkinnedLabel: there is no image %d", pngResourceId);
  imageFrameWidth_ = frameWidth;
  imageFrameHeight_ = frameHeight;
  Invalidate();
}

void SkinnedLabel::SetImageFrame(int frame) {
  imageFrame_ = frame;
  Invalidate();
}

void SkinnedLabel::SetText(const QString& text) {
  if (text == text_) return;  // the same picture: nothing to redo
  text_ = text;
  Invalidate();
}

void SkinnedLabel::Invalidate() {
  frameValid_ = false;
  update();
}

void SkinnedLabel::DrawImageLayer(QPainter& painter, const QImage& image) {
  const QRectF source(imageFrame_ * imageFrameWidth_, 0, imageFrameWidth_, imageFrameHeight_);
  painter.drawImage(QRectF(rect()), image, source);
}

void SkinnedLabel::DrawText(QPainter& painter) const {
  if (text_.isEmpty()) return;
  const QFont& font = font_;
  // Text larger than the label widens its layout equally on both sides, so
  // it never wraps and centred text overflows evenly.
  QRectF layout(0, 0, width() - 1, height() - 1);
  const QSizeF measured = MeasureUnbounded(font, textFlags_, text_);
  if (measured.width() > layout.width()) {
    layout.setLeft(layout.left() - (measured.width() - layout.width()) / 2);
    layout.setWidth(measured.width());
  }
  if (measured.height() > layout.height()) {
    layout.setTop(layout.top() - (measured.height() - layout.height()) / 2);
    layout.setHeight(measured.height());
  }
  painter.setFont(font);
  painter.setPen(ColourFromArgb(textColour_));
  painter.drawText(layout, AlignmentFlags(textFlags_), text_);
}

void SkinnedLabel::Compose() {
  composed_ = CopyHostBackground(*this, backgroundSource_, ancestorLevel_);
  QPainter painter(&composed_);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  if (qAlpha(fillColour_) != 0) painter.fillRect(rect(), ColourFromArgb(fillColour_));
  if (!image_.isNull()) DrawImageLayer(painter, image_);
  DrawText(painter);
  frameValid_ = true;
}

void SkinnedLabel::paintEvent(QPaintEvent*) {
  if (!frameValid_) Compose();
  QPainter(this).drawImage(0, 0, composed_);
}

void SkinnedLabel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Invalidate();
}

// A move puts other host pixels under the label.
void SkinnedLabel::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  Invalidate();
}

void SkinnedLabel::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  Invalidate();
}

}  // namespace rmt4::ui
