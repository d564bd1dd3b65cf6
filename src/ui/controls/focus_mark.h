#pragma once

class QWidget;

namespace rmt4::ui {

/// Draws the keyboard focus mark over `control` when it has the focus: a thin
/// rounded outline in the skin's highlight colour just inside its edge,
/// as thick as the control's size allows, so it grows with the window.
void DrawFocusMark(QWidget& control);

}  // namespace rmt4::ui
