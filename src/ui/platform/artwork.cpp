#include "ui/platform/artwork.h"

#include <QString>

#include <mutex>

// The images are compiled into this static library; the linker keeps their
// registration only when something names it.
static void InitArtworkResources() { Q_INIT_RESOURCE(artwork); }

namespace rmt4::ui {

QImage LoadArtwork(int id) {
  static std::once_flag once;
  std::call_once(once, InitArtworkResources);
  QImage image(QStringLiteral(":/art/%1.png").arg(id));
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace rmt4::ui
