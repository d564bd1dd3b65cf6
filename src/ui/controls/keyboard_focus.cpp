#include "ui/controls/keyboard_focus.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace rmt4::ui {
namespace {

// The amber the skins light their active parts with; it reads on every background of theirs.
const QColor kFocusColour(0xFF, 0xC8, 0x3C);
// Thickness per pixel of the control's smaller side, within a legible range.
constexpr double kThicknessShare = 0.06;
constexpr double kThinnest = 1.0;
constexpr double kThickest = 3.0;

}  // namespace

void SetKeyboardReachable(QWidget& control, Qt::FocusPolicy policy, bool shown) {
  control.setFocusPolicy(shown ? policy : Qt::NoFocus);
  if (!shown && control.hasFocus()) control.clearFocus();
}

void DrawFocusMark(QWidget& control) {
  if (!control.hasFocus()) return;
  QPainter painter(&control);
  PaintFocusOutline(painter, control.rect());
}

void PaintFocusOutline(QPainter& painter, const QRectF& area) {
  const double side = std::min(area.width(), area.height());
  const double thickness = std::clamp(side * kThicknessShare, kThinnest, kThickest);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kFocusColour, thickness));
  painter.setBrush(Qt::NoBrush);
  const double inset = thickness / 2.0;
  painter.drawRoundedRect(area.adjusted(inset, inset, -inset, -inset), 2.0 * thickness, 2.0 * thickness);
  painter.restore();
}

}  // namespace rmt4::ui
