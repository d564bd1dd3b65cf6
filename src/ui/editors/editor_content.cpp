#include "ui/editors/editor_content.h"

#include <QCoreApplication>
#include <QPainter>

#include "ui/platform/artwork.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {

EditorContent::EditorContent(QWidget* editor, int bitmapId, QSize nominalSize,
                             const std::vector<BackgroundSlice>& slices)
    : QWidget(editor), nominal_(nominalSize, QImage::Format_ARGB32_Premultiplied) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  nominal_.fill(Qt::black);
  const QImage bitmap = LoadArtwork(bitmapId);
  QPainter painter(&nominal_);
  for (const BackgroundSlice& slice : slices) {
    painter.drawImage(QPoint(slice.destinationX, 0), bitmap, QRect(slice.sourceX, 0, slice.width, bitmap.height()));
  }
}

void EditorContent::SetScale(double horizontal, double vertical) {
  const int width = static_cast<int>(nominal_.width() * horizontal);
  const int height = static_cast<int>(nominal_.height() * vertical);
  if (width <= 0 || height <= 0) return;
  background_.Recreate(0, 0, width, height);
  background_.StretchFrom(nominal_, 0, 0, width, height, 0, 0, nominal_.width(), nominal_.height());
  resize(width, height);
  update();
}

bool EditorContent::event(QEvent* event) {
  // The controls report to their parent; the editor is the one that answers.
  if (AsWindowMessage(event) != nullptr && parentWidget() != nullptr) {
    return QCoreApplication::sendEvent(parentWidget(), event);
  }
  return QWidget::event(event);
}

void EditorContent::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), background_.image());
}

}  // namespace rmt4::ui
