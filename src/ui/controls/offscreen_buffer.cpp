#include "ui/controls/offscreen_buffer.h"

#include "ui/platform/artwork.h"

namespace rmt4::ui {

bool OffscreenBuffer::LoadFromResource(int id) {
  QImage loaded = LoadArtwork(id);
  if (loaded.isNull()) return false;
  image_ = std::move(loaded);
  bufferRect_ = QRect(0, 0, image_.width(), image_.height());
  return true;
}

void OffscreenBuffer::Recreate(int left, int top, int right, int bottom) {
  if (right - left <= 0 || bottom - top <= 0) return;
  image_ = QImage(right - left, bottom - top, QImage::Format_ARGB32_Premultiplied);
  image_.fill(Qt::transparent);
  bufferRect_ = QRect(0, 0, right, bottom);
  QPainter painter(&image_);
  painter.setPen(Qt::black);
  painter.setBrush(QColor(240, 240, 240));
  // A one-pixel outline covers x .. x + width: the last column is right - 1.
  painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void OffscreenBuffer::StretchFrom(const QImage& source, int xDest, int yDest, int right, int bottom, int xSrc, int ySrc,
                              int srcRight, int srcBottom) {
  if (image_.width() < right || image_.height() < bottom) Recreate(xDest, yDest, right, bottom);
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRect(QPoint(xDest, yDest), QPoint(right - 1, bottom - 1)), source,
                    QRect(QPoint(xSrc, ySrc), QPoint(srcRight - 1, srcBottom - 1)));
}

}  // namespace rmt4::ui
