#pragma once

// `serve --osc PORT [--osc-bind ADDRESS] [--osc-allow CIDR]...`: holds the
// link and serves the console over OSC until Ctrl-C or SIGTERM.

#include <string>
#include <vector>

#include "cli/ctl_commands.h"

namespace rmt4::ctl {

[[nodiscard]] bool IsServeCommand(const std::vector<std::string>& command);
/// Why the command's words are refused; empty when fine.
[[nodiscard]] std::string ValidateServe(const std::vector<std::string>& command);
/// Serves until interrupted; the OSC clients' edits are stored on this
/// thread, one step per batch, in the day's change log.
[[nodiscard]] int Serve(CtlSession& session, const std::vector<std::string>& command);

}  // namespace rmt4::ctl
