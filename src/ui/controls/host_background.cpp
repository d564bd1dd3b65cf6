#include "ui/controls/host_background.h"

#include <QPainter>

#include "ui/controls/offscreen_buffer.h"

namespace rmt4::ui {
namespace {

QPoint PositionIn(const QWidget& control, int ancestorLevel) {
  if (ancestorLevel == static_cast<int>(AncestorLevel::Parent) || control.parentWidget() == nullptr) {
    return control.pos();
  }
  return control.mapTo(control.window(), QPoint(0, 0));
}

}  // namespace

QImage CopyHostBackground(const QWidget& control, const OffscreenBuffer* source, int ancestorLevel) {
  QImage copy(control.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  copy.fill(QColor(240, 240, 240));
  if (source == nullptr || !source->bufferValid()) return copy;
  QPainter painter(&copy);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), source->image(), QRect(PositionIn(control, ancestorLevel), copy.size()));
  return copy;
}

}  // namespace rmt4::ui
