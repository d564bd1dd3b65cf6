#include "ui/main/korvo_app.h"

#include <QApplication>

#include "ui/platform/fonts.h"

namespace rmt4::ui {

int CKorvoApp::Run(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return 0;
}

}  // namespace rmt4::ui
