// rmt4: the RMT-4 console's remote-control program.
#include <cstdio>
#include <span>

#include "rmt4_version.h"
#include "ui/main/remote_app.h"

int main(int argc, char** argv) {
  const rmt4::ui::ProgramOptions options =
      rmt4::ui::ParseProgramOptions(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
  // Answered before any window or lock exists, so they work without a display.
  if (options.help) {
    std::fputs(rmt4::ui::ProgramUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("rmt4 %s\n", rmt4::kVersion);
    return 0;
  }
  return rmt4::ui::RemoteApp::Run(argc, argv, options);
}
