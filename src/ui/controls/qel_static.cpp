#include "ui/controls/qel_static.h"

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

Cqel_CStatic::Cqel_CStatic(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateFont();
}

void Cqel_CStatic::UpdateFont() { font_ = MakeFont(fontFace_, fontSize_, fontStyle_); }

void Cqel_CStatic::SetBackgroundSource(const CMemDcClass* source) {
  backgroundSource_ = source;
  Invalidate();
}

void Cqel_CStatic::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  Invalidate();
}

void Cqel_CStatic::SetTextStyle(std::uint32_t flags, int size, const QString& face, std::uint32_t colour) {
  textFlags_ = flags;
  fontSize_ = size;
  fontFace_ = face;
  textColour_ = colour;
  UpdateFont();
  Invalidate();
}

void Cqel_CStatic::SetFontStyle(int styleBits) {
  fontStyle_ = styleBits;
  UpdateFont();
  Invalidate();
}

void Cqel_CStatic::SetFillColour(std::uint32_t argb) {
  fillColour_ = argb;
  Invalidate();
}

void Cqel_CStatic::SetImage(int pngResourceId, qreal frameWidth, qreal frameHeight) {
  image_ = LoadArtwork(pngResourceId);
  if (image_.isNull()) qWarning("Cqel_CStatic: there is no image %d", pngResourceId);
  imageFrameWidth_ = frameWidth;
  imageFrameHeight_ = frameHeight;
  Invalidate();
}

void Cqel_CStatic::SetImageFrame(int frame) {
  imageFrame_ = frame;
  Invalidate();
}

void Cqel_CStatic::SetText(const QString& text) {
  if (text == text_) return;  // the same picture: nothing to redo
  text_ = text;
  Invalidate();
}

void Cqel_CStatic::Invalidate() {
  frameValid_ = false;
  update();
}

void Cqel_CStatic::DrawImageLayer(QPainter& painter, const QImage& image) {
  const QRectF source(imageFrame_ * imageFrameWidth_, 0, imageFrameWidth_, imageFrameHeight_);
  painter.drawImage(QRectF(rect()), image, source);
}

void Cqel_CStatic::DrawText(QPainter& painter) const {
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

void Cqel_CStatic::Compose() {
  composed_ = CopyHostBackground(*this, backgroundSource_, ancestorLevel_);
  QPainter painter(&composed_);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  if (qAlpha(fillColour_) != 0) painter.fillRect(rect(), ColourFromArgb(fillColour_));
  if (!image_.isNull()) DrawImageLayer(painter, image_);
  DrawText(painter);
  frameValid_ = true;
}

void Cqel_CStatic::paintEvent(QPaintEvent*) {
  if (!frameValid_) Compose();
  QPainter(this).drawImage(0, 0, composed_);
}

void Cqel_CStatic::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Invalidate();
}

// A move puts other host pixels under the label.
void Cqel_CStatic::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  Invalidate();
}

void Cqel_CStatic::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  Invalidate();
}

}  // namespace rmt4::ui
