#pragma once

// Reading a window's picture in look tests.
#include <QImage>
#include <QRect>

namespace rmt4::test {

/// Pixels of `area` lighter than `threshold` in grey: text on the dark panels.
inline int BrightPixels(const QImage& picture, const QRect& area, int threshold = 180) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += qGray(picture.pixel(x, y)) > threshold ? 1 : 0;
  }
  return count;
}

}  // namespace rmt4::test
