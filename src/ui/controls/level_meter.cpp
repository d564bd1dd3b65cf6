#include "ui/controls/level_meter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
  if (imageHeight_ <= 0) {
    level_ = level;
    update();
    return;
  }
  const int before = BoundaryY(level_);
  level_ = level;
  const int after = BoundaryY(level_);
  // The rest of the bar keeps its pixels on screen.
  if (after != before) update(0, std::min(before, after), width(), std::abs(after - before));
}

void LevelMeter::SetRange(int minLevel, int maxLevel, double rowAtMin, double rowAtMax) {
  minLevel_ = minLevel;
  maxLevel_ = maxLevel;
  rowAtMin_ = rowAtMin;
  rowAtMax_ = rowAtMax;
  Invalidate();
}

float LevelMeter::BoundaryRow(int level) const {
  // An empty range has only its one level: shown as fully lit.
  if (maxLevel_ == minLevel_) return static_cast<float>(rowAtMax_);
  level = std::max(std::min(level, maxLevel_), minLevel_);
  return static_cast<float>(rowAtMin_ + (rowAtMax_ - rowAtMin_) * (level - minLevel_) / (maxLevel_ - minLevel_));
}

int LevelMeter::BoundaryY(int level) const {
  // The boundary on a whole row, so both parts are plain copies.
  return std::clamp(static_cast<int>(std::lround(height() * BoundaryRow(level) / imageHeight_)), 0, height());
}

void LevelMeter::ScaleColumns(const QImage& image) {
  if (unlit_.size() == size() && scaledFrom_ == image.cacheKey()) return;
  const int half = image.width() / 2;
  unlit_ = image.copy(0, 0, half, image.height()).scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  lit_ = image.copy(half, 0, half, image.height()).scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  scaledFrom_ = image.cacheKey();
  imageHeight_ = image.height();
}

void LevelMeter::DrawImageLayer(QPainter&, const QImage& image) {
  if (image.isNull() || width() <= 0 || height() <= 0) return;
  ScaleColumns(image);
}

void LevelMeter::paintEvent(QPaintEvent* event) {
  if (level_ < minLevel_) level_ = minLevel_;
  if (level_ > maxLevel_) level_ = maxLevel_;
  SkinnedLabel::paintEvent(event);  // the host's background and the fill, composed when stale
  if (image().isNull() || unlit_.isNull()) return;
  const int y = BoundaryY(level_);
  // A fresh painter without smoothing: 1:1 copies then blit on this thread,
  // where a smoothing painter has Qt blend them span by span on its thread pool.
  QPainter painter(this);
  // An empty source rectangle would mean "to the image's edge" to QPainter.
  if (y > 0) painter.drawImage(QPoint(0, 0), unlit_, QRect(0, 0, width(), y));
  if (y < height()) painter.drawImage(QPoint(0, y), lit_, QRect(0, y, width(), height() - y));
}

}  // namespace rmt4::ui
