#pragma once

#include "ui/main/program_options.h"

namespace rmt4::ui {

/// The application object: sets up the window system, keeps the program to a
/// single instance, runs the main window until it closes.
class RemoteApp {
 public:
  /// Non-zero when the program could not start (an offline scene it cannot use).
  static int Run(int argc, char** argv, const ProgramOptions& options);
};

}  // namespace rmt4::ui
