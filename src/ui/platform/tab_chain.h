#pragma once

#include <vector>

class QWidget;

namespace rmt4::ui {

/// Makes Tab walk `stops` in this order (Shift+Tab walks it back); a stop's
/// own focusable children follow it. Stops Tab cannot reach at the moment
/// (hidden, disabled, without tab focus) are passed over as Tab goes.
void ChainTabOrder(const std::vector<QWidget*>& stops);

/// The widgets inside `root` that Tab may reach, in reading order for a
/// surface laid out in columns: by their left edge, then from the top.
/// A focusable widget's own focusable children follow it and are not listed.
[[nodiscard]] std::vector<QWidget*> TabStopsByColumns(const QWidget& root);

}  // namespace rmt4::ui
