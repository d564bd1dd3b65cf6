#include "ui/editors/console_palette.h"

namespace rmt4::ui {

QPalette ConsoleDialogPalette() {
  const QColor panel(38, 40, 44);
  const QColor field(24, 25, 28);
  const QColor text(226, 228, 232);
  QPalette palette(panel);
  palette.setColor(QPalette::Window, panel);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Base, field);
  palette.setColor(QPalette::AlternateBase, panel);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Button, QColor(58, 61, 66));
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Highlight, QColor(5, 64, 235));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 124, 130));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 124, 130));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 124, 130));
  return palette;
}

}  // namespace rmt4::ui
