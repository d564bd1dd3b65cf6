#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {

std::vector<ArtworkImage>& Registry() {
  static std::vector<ArtworkImage> images;
  return images;
}

Register::Register(int id, int width, int height, std::function<void(QPainter&, const QImage&)> draw) {
  Registry().push_back(ArtworkImage{id, width, height, std::move(draw)});
}

}  // namespace rmt4::artwork
