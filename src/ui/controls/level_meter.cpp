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

void LevelMeter::ScaleColumns(const QImage& image) {
  if (unlit_.size() == size() && scaledFrom_ == image.cacheKey()) return;
  const int half = image.width() / 2;
  unlit_ = image.copy(0, 0, half, image.height()).scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  lit_ = image.copy(half, 0, half, image.height()).scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  scaledFrom_ = image.cacheKey();
}

void LevelMeter::DrawImageLayer(QPainter& painter, const QImage& image) {
  if (level_ < minLevel_) level_ = minLevel_;
  if (level_ > maxLevel_) level_ = maxLevel_;
  if (image.isNull() || width() <= 0 || height() <= 0) return;
  ScaleColumns(image);
  // The boundary on a whole row, so both parts are plain copies.
  const int y = std::clamp(static_cast<int>(std::lround(height() * BoundaryRow() / image.height())), 0, height());
  // An empty source rectangle would mean "to the image's edge" to QPainter.
  if (y > 0) painter.drawImage(QPoint(0, 0), unlit_, QRect(0, 0, width(), y));
  if (y < height()) painter.drawImage(QPoint(0, y), lit_, QRect(0, y, width(), height() - y));
}

}  // namespace rmt4::ui
