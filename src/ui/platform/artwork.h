#pragma once

#include <QImage>

namespace rmt4::ui {

/// The program's numbered image (bitmap or PNG resource number), or a null
/// image when there is no such image.
[[nodiscard]] QImage LoadArtwork(int id);

}  // namespace rmt4::ui
