#include "ui/controls/pulse_cells.h"

#include <utility>

namespace rmt4::ui {

void PulseCells::Clear() {
  for (QImage& cell : cells_) cell = QImage();
}

const QImage* PulseCells::Find(const QRect& box, int phase) const {
  if (box != box_ || !ValidPhase(phase)) return nullptr;
  const QImage& cell = cells_[static_cast<std::size_t>(phase)];
  return cell.isNull() ? nullptr : &cell;
}

void PulseCells::Keep(const QRect& box, int phase, QImage cell) {
  if (!ValidPhase(phase) || cell.size() != box.size()) return;
  if (box != box_) {
    Clear();
    box_ = box;
  }
  cells_[static_cast<std::size_t>(phase)] = std::move(cell);
}

bool PulseCells::Alike(const QRect& box, int first, int second) const {
  const QImage* a = Find(box, first);
  const QImage* b = Find(box, second);
  return a != nullptr && b != nullptr && *a == *b;
}

}  // namespace rmt4::ui
