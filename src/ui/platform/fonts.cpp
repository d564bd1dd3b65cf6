#include "ui/platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace rmt4::ui {
namespace {

// Installed faces that carry CJK glyphs, best first; Debian's fonts-wqy-microhei
// is what the set-up installs, the others are common alternatives.
const QStringList kCjkSans = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC", "Droid Sans Fallback"};
const QStringList kCjkSerif = {"Noto Serif CJK SC", "AR PL UMing CN", "WenQuanYi Micro Hei"};

}  // namespace

void InstallFontSubstitutes() {
  for (const char* face : {"微软雅黑", "Microsoft YaHei", "黑体", "SimHei", "MS Shell Dlg", "Arial", "Arial Bold"}) {
    QFont::insertSubstitutions(QString::fromUtf8(face), kCjkSans);
  }
  for (const char* face : {"宋体", "SimSun", "Times New Roman"}) {
    QFont::insertSubstitutions(QString::fromUtf8(face), QStringList{"DejaVu Serif"} + kCjkSerif);
  }
}

QFont MakeFont(const QString& face, qreal pixelSize, int styleBits) {
  // "Arial Bold" names a face and a weight at once.
  QString family = face;
  bool bold = (styleBits & kFontBold) != 0;
  if (family.endsWith(QStringLiteral(" Bold"))) {
    family.chop(5);
    bold = true;
  }
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, qRound(pixelSize)));
  font.setBold(bold);
  font.setItalic((styleBits & kFontItalic) != 0);
  return font;
}

}  // namespace rmt4::ui
