#pragma once

#include <optional>
#include <string>

#include "automation/osc_server.h"
#include "files/settings_store.h"
#include "ui/main/program_options.h"

namespace rmt4::ui {

class MainWindow;

/// Whether and how this run serves OSC.
struct OscStartup {
  bool on = false;
  OscServerOptions options;
  /// Why the stored setting cannot serve (a settings file edited by hand), in
  /// the user's language: told once the window is up, and it does not serve.
  std::optional<std::string> storedProblem;
};

/// The stored setting with the command line's options over it. Offline the
/// stored setting is left aside: another copy of the program may be serving
/// the show on that port, and its clients must not reach the model instead.
/// nullopt with `problem` set when the command line's options are refused.
[[nodiscard]] std::optional<OscStartup> ChooseOscStartup(const ProgramOptions& program, const SettingsStore& store,
                                                         std::string& problem);

/// Serves as chosen; a server that cannot start, or a stored setting that
/// cannot serve, is told in a box over the window once it shows.
void ServeOscAtStart(MainWindow& window, const OscStartup& startup);

}  // namespace rmt4::ui
