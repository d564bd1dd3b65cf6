#include "ui/controls/level_meter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rmt4::ui {

LevelMeter::LevelMeter(QWidget* parent) : SkinnedLabel(parent) {}

void LevelMeter::SetLevel(double value) {
  // Out-of-range doubles have no int; they pin to the ends, and a NaN reads as
  // no signal.
  constexpr double kLowest = std::numeric_limits<int>::min();
  constexpr double kHighest = std::numeric_limits<int>::max();
  const int level = std::isnan(value) ? minLevel_ : static_cast<int>(std::trunc(std::clamp(value, kLowest, kHighest)));
  // The meters are fed 20 times a second; an unchanged level keeps its picture.
  if (level == level_) return;
  level_ = level;
  Invalidate();
}

void LevelMeter::SetRange(int minLevel, int maxLevel, double rowAtMin, double rowAtMax) {
  minLevel_ = minLevel;
  maxLevel_ = maxLevel;
  rowAtMin_ = rowAtMin;
  rowAtMax_ = rowAtMax;
  Invalidate();
}

float LevelMeter::BoundaryRow() const {
  // An empty range has only its one level: shown as fully lit.
  if (maxLevel_ == minLevel_) return static_cast<float>(rowAtMax_);
  return static_cast<float>(rowAtMin_ + (rowAtMax_ - rowAtMin_) * (level_ - minLevel_) / (maxLevel_ - minLevel_));
}

void LevelMeter::DrawImageLayer(QPainter& painter, const QImage& image) {
  if (level_ < minLevel_) level_ = minLevel_;
  if (level_ > maxLevel_) level_ = maxLevel_;
  const qreal boundary = BoundaryRow();
  const qreal halfWidth = image.width() / 2;
  const qreal clientWidth = width();
  const qreal clientHeight = height();
  const qreal y = clientHeight * boundary / image.height();
  // An empty source rectangle would mean "to the image's edge" to QPainter.
  if (boundary > 0) painter.drawImage(QRectF(0, 0, clientWidth, y), image, QRectF(0, 0, halfWidth, boundary));
  if (boundary < image.height()) {
    painter.drawImage(QRectF(0, y, clientWidth, clientHeight - y), image,
                      QRectF(halfWidth, boundary, halfWidth, image.height() - boundary));
  }
}

}  // namespace rmt4::ui
