#pragma once

#include <QFont>
#include <QString>

namespace rmt4::ui {

/// Style bits the controls carry for their fonts.
enum FontStyleBits : int { kFontBold = 1, kFontItalic = 2 };

/// Maps the faces the windows ask for ("微软雅黑", "黑体", "宋体", "Arial Bold",
/// "Times New Roman", …) onto installed faces that can show Chinese text.
/// Call once after the application object exists.
void InstallFontSubstitutes();

/// The face of the windows' captions, labels and button texts ("微软雅黑").
inline const QString kCaptionFace = QStringLiteral("微软雅黑");

/// `face` at `pixelSize` pixels with the style bits; a generic sans-serif face
/// stands in when the face is not installed.
[[nodiscard]] QFont MakeFont(const QString& face, qreal pixelSize, int styleBits = 0);

}  // namespace rmt4::ui
