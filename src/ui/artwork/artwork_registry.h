#pragma once

#include <QImage>
#include <QPainter>

#include <functional>
#include <vector>

namespace rmt4::artwork {

/// One numbered image of the program: its size and the code that paints it
/// onto a transparent ARGB canvas with anti-aliasing on.
struct ArtworkImage {
  int id = 0;
  int width = 0;
  int height = 0;
  std::function<void(QPainter&, const QImage&)> draw;
};

/// Every image registered so far, in registration order.
[[nodiscard]] std::vector<ArtworkImage>& Registry();

/// Declared at namespace scope in each art_*.cpp: adds its images before
/// main() runs, so adding a file is all it takes to add artwork.
struct Register {
  Register(int id, int width, int height, std::function<void(QPainter&, const QImage&)> draw);
};

}  // namespace rmt4::artwork
