#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>

namespace rmt4::artwork {

// The console look: charcoal panels, light text, coloured state frames.
inline const QColor kPanel(38, 40, 44);
inline const QColor kPanelDark(24, 25, 28);
inline const QColor kPanelLight(58, 61, 66);
inline const QColor kRim(88, 92, 99);
inline const QColor kAccent(5, 64, 235);

/// A flat panel with a soft vertical sheen, the base of every background.
inline void FillPanel(QPainter& painter, const QRectF& area, const QColor& base) {
  QLinearGradient sheen(area.topLeft(), area.bottomLeft());
  sheen.setColorAt(0.0, base.lighter(112));
  sheen.setColorAt(1.0, base.darker(108));
  painter.fillRect(area, sheen);
}

/// A rounded box with a darker rim and a highlight along its top edge, as
/// used for button frames.
inline void DrawRoundedBox(QPainter& painter, const QRectF& box, const QColor& fill, qreal radius) {
  QLinearGradient body(box.topLeft(), box.bottomLeft());
  body.setColorAt(0.0, fill.lighter(125));
  body.setColorAt(0.5, fill);
  body.setColorAt(1.0, fill.darker(115));
  painter.setPen(QPen(fill.darker(170), 1.0));
  painter.setBrush(body);
  painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

}  // namespace rmt4::artwork
