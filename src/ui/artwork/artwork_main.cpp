// rmt4-artwork: paints every registered image into <folder>/<id>.png, writes
// <folder>/artwork.qrc, which the build embeds in the program, and paints the
// program's icon (image 128) at each size given into <folder>/icons/<size>.png
// for the desktop's icon theme.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "ui/artwork/artwork_registry.h"

namespace {

constexpr int kIconImage = 128;
constexpr int kLargestIcon = 1024;

// The image's drawing code at `width` × `height`: scaled, not resampled, so
// every size is drawn sharp.
QImage Paint(const rmt4::artwork::ArtworkImage& image, int width, int height) {
  QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.scale(static_cast<qreal>(width) / image.width, static_cast<qreal>(height) / image.height);
  image.draw(painter, canvas);
  painter.end();
  return canvas.convertToFormat(QImage::Format_ARGB32);
}

bool Save(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "rmt4-artwork: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // text in the artwork needs the font database
  if (argc < 2) {
    std::fprintf(stderr, "usage: rmt4-artwork OUTPUT_FOLDER [ICON_SIZE...]\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "rmt4-artwork: cannot create %s\n", argv[1]);
    return 1;
  }

  auto images = rmt4::artwork::Registry();
  std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  std::set<int> seen;
  QString qrc = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/art\">\n";
  for (const auto& image : images) {
    if (!seen.insert(image.id).second) {
      std::fprintf(stderr, "rmt4-artwork: image %d is registered twice\n", image.id);
      return 1;
    }
    const QString name = QString::number(image.id) + ".png";
    if (!Save(Paint(image, image.width, image.height), folder.filePath(name))) return 1;
    qrc += "  <file>" + name + "</file>\n";
  }
  qrc += "</qresource>\n</RCC>\n";

  QFile file(folder.filePath("artwork.qrc"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(qrc.toUtf8()) < 0) {
    std::fprintf(stderr, "rmt4-artwork: cannot write artwork.qrc\n");
    return 1;
  }

  if (argc > 2) {
    const auto icon = std::find_if(images.begin(), images.end(), [](const auto& i) { return i.id == kIconImage; });
    if (icon == images.end() || !QDir().mkpath(folder.filePath("icons"))) {
      std::fprintf(stderr, "rmt4-artwork: no icon image, or no icons folder\n");
      return 1;
    }
    for (int i = 2; i < argc; ++i) {
      const int size = std::atoi(argv[i]);
      if (size < 1 || size > kLargestIcon) {
        std::fprintf(stderr, "rmt4-artwork: icon size %s is not 1..%d\n", argv[i], kLargestIcon);
        return 2;
      }
      if (!Save(Paint(*icon, size, size), folder.filePath("icons/" + QString::number(size) + ".png"))) return 1;
    }
  }
  return 0;
}
