#pragma once

#include "ui/controls/skinned_label.h"

namespace rmt4::ui {

/// The vertical level meter: a label whose image holds the unlit and the lit
/// bar side by side; the bar is lit from the bottom up to the current level.
/// It sends nothing to its host.
class LevelMeter : public SkinnedLabel {
  Q_OBJECT

 public:
  explicit LevelMeter(QWidget* parent);

  /// Stores the truncated value and repaints the rows between the old and the
  /// new boundary; clamping to the range happens at the next paint.
  void SetLevel(double value);
  /// `rowAtMin`/`rowAtMax`: image row of the unlit/lit boundary at `minLevel`/`maxLevel`.
  void SetRange(int minLevel, int maxLevel, double rowAtMin, double rowAtMax);
  [[nodiscard]] int level() const { return level_; }

 protected:
  /// Takes the bar's columns from the image; the bar itself is drawn over the
  /// composed label at each paint, so that a level change recomposes nothing.
  void DrawImageLayer(QPainter& painter, const QImage& image) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  [[nodiscard]] float BoundaryRow(int level) const;
  /// The meter's first lit row at `level` (clamped to the range); its height when nothing is lit.
  [[nodiscard]] int BoundaryY(int level) const;
  /// Scales the unlit and the lit column of `image` to the meter's size, once per size and image.
  void ScaleColumns(const QImage& image);

  int level_ = 50;
  int minLevel_ = 0;
  int maxLevel_ = 100;
  double rowAtMin_ = 100.0;
  double rowAtMax_ = 0.0;
  // The columns at the meter's size: a level change then only copies rows,
  // where scaling the columns again 20 times a second would cost far more.
  QImage unlit_;
  QImage lit_;
  int imageHeight_ = 0;    // rows of the image they come from; 0 before the first composition
  qint64 scaledFrom_ = 0;  // cache key of the image they come from
};

}  // namespace rmt4::ui
