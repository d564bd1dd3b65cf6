#pragma once

#include <Qt>

class QPainter;
class QRectF;
class QWidget;

namespace rmt4::ui {

/// Lets `control` take the keyboard by `policy` while it is shown; one not
/// shown is passed over by Tab and gives the keyboard up.
void SetKeyboardReachable(QWidget& control, Qt::FocusPolicy policy, bool shown);

/// Draws the keyboard focus mark over `control` when it has the focus: a thin
/// rounded outline in the skin's highlight colour just inside its edge,
/// as thick as the control's size allows, so it grows with the window.
void DrawFocusMark(QWidget& control);

/// The same outline inside `area`, for parts drawn by a style.
void PaintFocusOutline(QPainter& painter, const QRectF& area);

}  // namespace rmt4::ui
