#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>
#include <vector>

#include "ui/controls/offscreen_buffer.h"

namespace rmt4::ui {

/// One vertical slice of an editor's background bitmap: `width` columns from
/// `sourceX`, full height, copied to `destinationX` of the content.
struct BackgroundSlice {
  int destinationX;
  int sourceX;
  int width;
};

/// The scrolling content of an editor panel: it paints the composed and
/// scaled background, holds the buffer its skinned controls copy their
/// background from (they locate themselves by its coordinates) and hands the
/// controls' window messages on to the editor that owns it.
class EditorContent : public QWidget {
 public:
  /// The background: `nominalSize`, black, with slices of bitmap `bitmapId`.
  EditorContent(QWidget* editor, int bitmapId, QSize nominalSize, const std::vector<BackgroundSlice>& slices);

  /// Resizes the content to the nominal size times the scales and stretches
  /// the background to it.
  void SetScale(double horizontal, double vertical);

  [[nodiscard]] const OffscreenBuffer& background() const { return background_; }
  [[nodiscard]] QSize nominalSize() const { return nominal_.size(); }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage nominal_;
  OffscreenBuffer background_;
};

}  // namespace rmt4::ui
