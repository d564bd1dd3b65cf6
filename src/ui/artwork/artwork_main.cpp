// rmt4-artwork: paints every registered image into <folder>/<id>.png and
// writes <folder>/artwork.qrc, which the build embeds in the program.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <set>

#include "ui/artwork/artwork_registry.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // text in the artwork needs the font database
  if (argc != 2) {
    std::fprintf(stderr, "usage: rmt4-artwork OUTPUT_FOLDER\n");
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
    QImage canvas(image.width, image.height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
      QPainter painter(&canvas);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      image.draw(painter, canvas);
    }
    const QString name = QString::number(image.id) + ".png";
    if (!canvas.convertToFormat(QImage::Format_ARGB32).save(folder.filePath(name), "PNG")) {
      std::fprintf(stderr, "rmt4-artwork: cannot write %s\n", qPrintable(folder.filePath(name)));
      return 1;
    }
    qrc += "  <file>" + name + "</file>\n";
  }
  qrc += "</qresource>\n</RCC>\n";

  QFile file(folder.filePath("artwork.qrc"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(qrc.toUtf8()) < 0) {
    std::fprintf(stderr, "rmt4-artwork: cannot write artwork.qrc\n");
    return 1;
  }
  return 0;
}
