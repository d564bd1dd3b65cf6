#pragma once

#include "emulator/options.h"

namespace rmt4::emulator {

/// Runs the emulator until "quit", SIGTERM or SIGINT: binds its sockets,
/// prints the ready line, serves every link and reads commands from standard
/// input. Returns the process exit code.
[[nodiscard]] int RunEmulator(const Options& options);

}  // namespace rmt4::emulator
