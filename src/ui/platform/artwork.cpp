#include "ui/platform/artwork.h"

#include <QString>

#include <map>
#include <mutex>

// The images are compiled into this static library; the linker keeps their
// registration only when something names it.
static void InitArtworkResources() { Q_INIT_RESOURCE(artwork); }

namespace rmt4::ui {

QImage LoadArtwork(int id) {
  // Decoded once: the strips load the same skins dozens of times at start-up,
  // and a QImage copy only shares the pixels.
  static std::mutex mutex;
  static std::map<int, QImage> decoded;
  static std::once_flag once;
  std::call_once(once, InitArtworkResources);
  std::lock_guard lock(mutex);
  if (const auto found = decoded.find(id); found != decoded.end()) return found->second;
  QImage image(QStringLiteral(":/art/%1.png").arg(id));
  if (image.isNull()) return image;  // not kept: only the program's own images are
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  decoded.emplace(id, image);
  return image;
}

}  // namespace rmt4::ui
