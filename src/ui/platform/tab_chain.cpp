#include "ui/platform/tab_chain.h"

#include <QWidget>

#include <algorithm>
#include <utility>

namespace rmt4::ui {
namespace {

/// A widget of `root`'s window that Tab may reach (a drop-down's popup list is a window of its own).
bool TakesTab(const QWidget& widget, const QWidget& root) {
  return (widget.focusPolicy() & Qt::TabFocus) != 0 && widget.window() == root.window();
}

/// Whether a focusable widget between `widget` and `root` holds it.
bool InsideAnotherStop(const QWidget& widget, const QWidget& root) {
  for (const QWidget* w = widget.parentWidget(); w != nullptr && w != &root; w = w->parentWidget()) {
    if (TakesTab(*w, root)) return true;
  }
  return false;
}

}  // namespace

void ChainTabOrder(const std::vector<QWidget*>& stops) {
  for (std::size_t k = 1; k < stops.size(); ++k) QWidget::setTabOrder(stops[k - 1], stops[k]);
}

std::vector<QWidget*> TabStopsByColumns(const QWidget& root) {
  std::vector<QWidget*> stops;
  for (QWidget* each : root.findChildren<QWidget*>()) {
    if (TakesTab(*each, root) && !InsideAnotherStop(*each, root)) stops.push_back(each);
  }
  std::ranges::stable_sort(stops, [&root](const QWidget* a, const QWidget* b) {
    const QPoint at = a->mapTo(&root, QPoint(0, 0));
    const QPoint bt = b->mapTo(&root, QPoint(0, 0));
    return std::make_pair(at.x(), at.y()) < std::make_pair(bt.x(), bt.y());
  });
  std::vector<QWidget*> withParts;
  for (QWidget* stop : stops) {
    withParts.push_back(stop);
    for (QWidget* part : stop->findChildren<QWidget*>()) {
      if (TakesTab(*part, root)) withParts.push_back(part);
    }
  }
  return withParts;
}

}  // namespace rmt4::ui
