#pragma once

#include <QPalette>

namespace rmt4::ui {

/// The dark console look for the dialogs built from standard controls: light
/// text on charcoal, lists a shade darker, the ENTER blue for selections.
[[nodiscard]] QPalette ConsoleDialogPalette();

}  // namespace rmt4::ui
