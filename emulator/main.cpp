#include <cstdio>
#include <string_view>
#include <vector>

#include "emulator/emulator_app.h"
#include "emulator/options.h"

int main(int argc, char** argv) {
  using namespace rmt4::emulator;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (parsed.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (!parsed.options) {
    std::fprintf(stderr, "rmt4-console: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  return RunEmulator(*parsed.options);
}
