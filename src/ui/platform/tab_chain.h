#pragma once

#include <vector>

class QWidget;

namespace rmt4::ui {

/// Makes Tab walk `stops` in this order (Shift+Tab walks it back). Stops Tab
/// cannot reach at the moment (hidden, disabled, without tab focus) are
/// passed over as Tab goes.
void ChainTabOrder(const std::vector<QWidget*>& stops);

/// The widgets inside `root` that Tab may reach, in reading order for a
/// surface laid out in columns: by their left edge, then from the top; a
/// focusable widget's own focusable parts (a band panel's fields) right after it.
[[nodiscard]] std::vector<QWidget*> TabStopsByColumns(const QWidget& root);

}  // namespace rmt4::ui
