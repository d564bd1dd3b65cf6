// rmt4: the RMT-4 console's remote-control program.
#include <cstdio>
#include <string_view>

#include "rmt4_version.h"
#include "ui/main/korvo_app.h"

int main(int argc, char** argv) {
  // Answered before any window or lock exists, so it works without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::printf("rmt4 %s\n", rmt4::kVersion);
      return 0;
    }
  }
  return rmt4::ui::CKorvoApp::Run(argc, argv);
}
