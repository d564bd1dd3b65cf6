#include "ui/controls/text_format.h"

#include <QFontMetricsF>
#include <QPainterPath>

namespace rmt4::ui {

QSizeF MeasureText(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  return QSizeF(metrics.horizontalAdvance(text), metrics.height());
}

QRectF AlignText(const QRectF& layout, std::uint32_t flags, const QSizeF& textSize) {
  qreal x = layout.left();
  if (flags & kTextCentreH) {
    x += (layout.width() - textSize.width()) * 0.5;
  } else if (flags & kTextRight) {
    x = layout.right() - textSize.width();
  }
  qreal y = layout.top();
  if (flags & kTextCentreV) {
    y += (layout.height() - textSize.height()) * 0.5;
  } else if (flags & kTextBottom) {
    y = layout.bottom() - textSize.height();
  }
  return QRectF(QPointF(x, y), textSize);
}

void FillTextOutline(QPainter& painter, const QRectF& layout, std::uint32_t flags, const QFont& font,
                     const QString& text, const QColor& colour) {
  if (text.isEmpty()) return;
  const QRectF placed = AlignText(layout, flags, MeasureText(font, text));
  QPainterPath outline;
  outline.addText(QPointF(placed.left(), placed.top() + QFontMetricsF(font).ascent()), font, text);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(outline, colour);
  painter.restore();
}

}  // namespace rmt4::ui
