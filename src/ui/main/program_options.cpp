#include "ui/main/program_options.h"

#include <string_view>

namespace rmt4::ui {

ProgramOptions ParseProgramOptions(std::span<const char* const> arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    // An option's value is the next argument; a missing one reads as empty and is refused as such.
    const auto value = [&] { return i + 1 < arguments.size() ? std::string(arguments[++i]) : std::string(); };
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
    } else if (argument == "--osc") {
      options.oscPort = value();
    } else if (argument == "--osc-bind") {
      options.oscBind = value();
    } else if (argument == "--osc-allow") {
      options.oscAllow.push_back(value());
    } else {
      options.unknown.emplace_back(argument);
    }
  }
  return options;
}

std::string ProgramUsage() {
  return "Usage: rmt4 [--offline [SCENE.mxb]] [--osc PORT [--osc-bind ADDRESS] [--osc-allow CIDR]...]\n"
         "            [--version] [--help]\n"
         "Remote control and editor for the RMT-4 mixing console.\n"
         "\n"
         "  --offline [SCENE.mxb]  work without a console: every window edits a console\n"
         "                         model inside the program, starting from the scene (a\n"
         "                         path or a name in the scene folders) or the console's\n"
         "                         defaults; scenes saved from the System window hold the\n"
         "                         edits, ready to upload at the venue. Nothing is sent\n"
         "                         to the network or to any device.\n"
         "  --osc PORT             serve OSC on this UDP port for this run: cue software\n"
         "                         and controllers set, fade and follow parameters by\n"
         "                         name (/ch3/fader), as the windows do; offline, on the\n"
         "                         console model. The System window turns it on for good\n"
         "                         (offline runs serve only when given --osc).\n"
         "  --osc-bind ADDRESS     the local IPv4 address to serve on (127.0.0.1 unless\n"
         "                         given: only this computer may send)\n"
         "  --osc-allow CIDR       only these senders, as 192.168.1.0/24 or one address;\n"
         "                         repeatable\n"
         "  --version              print the version and exit\n"
         "  --help                 print this text and exit\n";
}

}  // namespace rmt4::ui
