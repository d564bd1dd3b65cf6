// Bitmap 154: the input and output editors' content background. The editor
// builds each panel from vertical slices of it (the middle columns repeat,
// the last columns close a panel), so everything but the right rim is
// uniform across its width.
#include "ui/artwork/art_style.h"
#include "ui/artwork/artwork_registry.h"

namespace rmt4::artwork {
namespace {

constexpr int kWidth = 234;
constexpr int kHeight = 279;
constexpr int kTitleBottom = 50;  // the titles sit in y 4..50
constexpr int kRimLeft = 231;     // the columns that close a panel on the right

const Register editorPanel(154, kWidth, kHeight, [](QPainter& p, const QImage&) {
  FillPanel(p, QRectF(0, 0, kWidth, kHeight), kPanel);
  // Title strip with a thin accent under it.
  FillPanel(p, QRectF(0, 0, kWidth, kTitleBottom), kPanelDark);
  p.fillRect(QRect(0, kTitleBottom, kWidth, 1), kAccent.darker(150));
  p.fillRect(QRect(0, kTitleBottom + 1, kWidth, 1), kPanelLight);
  // Top and bottom edges.
  p.fillRect(QRect(0, 0, kWidth, 1), kRim);
  p.fillRect(QRect(0, kHeight - 1, kWidth, 1), Qt::black);
  // The groove between panels: a dark gap with a light edge on its left.
  p.fillRect(QRect(kRimLeft, 0, 1, kHeight), kRim);
  p.fillRect(QRect(kRimLeft + 1, 0, kWidth - kRimLeft - 1, kHeight), Qt::black);
});

}  // namespace
}  // namespace rmt4::artwork
