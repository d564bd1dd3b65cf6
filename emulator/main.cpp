#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "emulator/emulator_app.h"
#include "emulator/options.h"
#include "rmt4_version.h"

int main(int argc, char** argv) {
  using namespace rmt4::emulator;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (parsed.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (parsed.version) {
    std::printf("rmt4-console %s\n", rmt4::kVersion);
    return 0;
  }
  if (!parsed.options) {
    std::fprintf(stderr, "rmt4-console: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  try {
    return RunEmulator(*parsed.options);
  } catch (const std::exception& error) {
    // Only the system refusing a descriptor gets here.
    std::fprintf(stderr, "rmt4-console: %s\n", error.what());
    return 1;
  }
}
