#include "ui/main/program_options.h"

#include <string_view>

namespace rmt4::ui {

ProgramOptions ParseProgramOptions(std::span<const char* const> arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--offline") {
      options.offline = true;
      // The scene is optional: only a following word that is no option names one.
      if (i + 1 < arguments.size() && std::string_view(arguments[i + 1]).substr(0, 1) != "-") {
        options.offlineScene = arguments[++i];
      }
    } else {
      options.unknown.emplace_back(argument);
    }
  }
  return options;
}

std::string ProgramUsage() {
  return "Usage: rmt4 [--offline [SCENE.mxb]] [--version] [--help]\n"
         "Remote control and editor for the RMT-4 mixing console.\n"
         "\n"
         "  --offline [SCENE.mxb]  work without a console: every window edits a console\n"
         "                         model inside the program, starting from the scene (a\n"
         "                         path or a name in the scene folders) or the console's\n"
         "                         defaults; scenes saved from the System window hold the\n"
         "                         edits, ready to upload at the venue. Nothing is sent\n"
         "                         to the network or to any device.\n"
         "  --version              print the version and exit\n"
         "  --help                 print this text and exit\n";
}

}  // namespace rmt4::ui
