#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

namespace rmt4::ui {

/// The off-screen picture a skinned window paints through: its background,
/// stretched from a numbered image to the client size, from which the child
/// controls also copy the pixels under themselves so they look transparent.
class OffscreenBuffer {
 public:
  OffscreenBuffer() = default;
  /// As LoadFromResource.
  explicit OffscreenBuffer(int imageId) { LoadFromResource(imageId); }

  /// Replaces the picture with image `id` at its own size; false (and the old
  /// picture kept) when there is no such image.
  bool LoadFromResource(int id);
  /// A blank picture of the rectangle's size (see Recreate).
  void CreateBlank(int left, int top, int right, int bottom) { Recreate(left, top, right, bottom); }
  /// A light grey picture (0,0)-(right,bottom) with a one-pixel black border
  /// around (left,top)-(right,bottom); an empty rectangle leaves the buffer as it is.
  void Recreate(int left, int top, int right, int bottom);
  /// Stretches `source`'s rectangle (xSrc,ySrc)-(srcRight,srcBottom) onto
  /// (xDest,yDest)-(right,bottom), first growing the picture when it is too small.
  void StretchFrom(const QImage& source, int xDest, int yDest, int right, int bottom, int xSrc, int ySrc,
                   int srcRight, int srcBottom);

  [[nodiscard]] bool bufferValid() const { return !image_.isNull(); }
  [[nodiscard]] QRect bufferRect() const { return bufferRect_; }
  [[nodiscard]] const QImage& image() const { return image_; }
  [[nodiscard]] QImage& image() { return image_; }

 private:
  QImage image_;
  QRect bufferRect_;
};

}  // namespace rmt4::ui
