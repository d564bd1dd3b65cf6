#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rmt4::ui {

/// What the command line asks of the program. Arguments it does not know are
/// left to the window system (Qt's own, such as -platform).
struct ProgramOptions {
  bool help = false;
  bool version = false;
  /// Work on a console model inside the program: no network, no devices.
  bool offline = false;
  /// The scene the offline console starts from; the console's defaults without one.
  std::optional<std::string> offlineScene;
  /// Serve OSC on this port for this run, over the stored setting (as typed; checked when the program starts).
  std::optional<std::string> oscPort;
  /// The address to serve OSC on, and who may send (each --osc-allow once).
  std::optional<std::string> oscBind;
  std::vector<std::string> oscAllow;
  /// Arguments the program does not know. Before the window system has taken
  /// its own (such as -platform), they may still be those.
  std::vector<std::string> unknown;
};

/// Reads the arguments after the program name.
[[nodiscard]] ProgramOptions ParseProgramOptions(std::span<const char* const> arguments);

/// The --help text.
[[nodiscard]] std::string ProgramUsage();

}  // namespace rmt4::ui
