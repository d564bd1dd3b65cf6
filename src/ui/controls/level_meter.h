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

  /// Stores the truncated value; clamping to the range happens at the next paint.
  void SetLevel(double value);
  /// `rowAtMin`/`rowAtMax`: image row of the unlit/lit boundary at `minLevel`/`maxLevel`.
  void SetRange(int minLevel, int maxLevel, double rowAtMin, double rowAtMax);
  [[nodiscard]] int level() const { return level_; }

 protected:
  void DrawImageLayer(QPainter& painter, const QImage& image) override;

 private:
  [[nodiscard]] float BoundaryRow() const;

  int level_ = 50;
  int minLevel_ = 0;
  int maxLevel_ = 100;
  double rowAtMin_ = 100.0;
  double rowAtMax_ = 0.0;
};

}  // namespace rmt4::ui
