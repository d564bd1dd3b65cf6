// The GUI tests run offscreen inside one application object.
#include <QApplication>

#include <gtest/gtest.h>

#include "ui/controls/control_accessible.h"
#include "ui/platform/fonts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  rmt4::ui::InstallFontSubstitutes();
  rmt4::ui::InstallControlAccessibility();
  return RUN_ALL_TESTS();
}
