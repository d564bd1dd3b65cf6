#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace rmt4::ui {

/// Caption layout bits of the skinned controls; hosts pass 0x50000025
/// (single line, centred both ways). Other bits carry no meaning.
enum TextFlagBits : std::uint32_t {
  kTextCentreH = 0x01,
  kTextRight = 0x02,
  kTextCentreV = 0x04,
  kTextBottom = 0x08,
  kTextSingleLine = 0x20,
};

/// The colour of a 0xAARRGGBB word.
[[nodiscard]] inline QColor ColourFromArgb(std::uint32_t argb) { return QColor::fromRgba(argb); }

/// Width and height of `text` on one line in `font`.
[[nodiscard]] QSizeF MeasureText(const QFont& font, const QString& text);

/// Where `text` sits inside `layout` under the alignment bits of `flags`:
/// the rectangle of its measured size.
[[nodiscard]] QRectF AlignText(const QRectF& layout, std::uint32_t flags, const QSizeF& textSize);

/// Draws `text` in `layout` as an anti-aliased filled outline (the look of
/// every caption), aligned by `flags`.
void FillTextOutline(QPainter& painter, const QRectF& layout, std::uint32_t flags, const QFont& font,
                     const QString& text, const QColor& colour);

}  // namespace rmt4::ui
