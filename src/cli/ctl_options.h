#pragma once

#include <optional>
#include <string>
#include <vector>

#include "protocol/connection_kind.h"
#include "values/scene_scope.h"

namespace rmt4::ctl {

/// Exit codes; scripts rely on them.
enum ExitCode : int {
  kExitOk = 0,
  kExitFailed = 1,       ///< the console refused or did not confirm the operation
  kExitUsage = 2,        ///< bad command line
  kExitNoConsole = 3,    ///< no console answered within the time limit
  kExitFileError = 4,    ///< a scene file could not be read
};

struct CtlOptions {
  /// Transport chosen on the command line; otherwise the stored setting.
  std::optional<ConnectionKind> connectionKind;
  /// `--serial DEVICE` or `--net ADDRESS`.
  std::string target;
  double timeoutSeconds = 10.0;
  bool answerYes = false;
  bool verbose = false;
  /// `--raw`: addresses and raw words in and out, whatever names were given.
  bool raw = false;
  /// `--trace FILE`; wins over RMT4_TRACE.
  std::optional<std::string> tracePath;
  /// `set --fade SECONDS`: move the values there over this time.
  std::optional<double> fadeSeconds;
  /// `scene upload --only/--except PATTERN`: what the upload may write.
  SceneScope scope;
  /// `scene upload --dry-run`: list the changes, write nothing.
  bool dryRun = false;
  std::vector<std::string> command;
};

struct ParsedOptions {
  std::optional<CtlOptions> options;  ///< nothing when the program should just exit
  int exitCode = kExitOk;
  std::string message;                 ///< usage text or the error
};

[[nodiscard]] ParsedOptions ParseOptions(const std::vector<std::string>& arguments);
[[nodiscard]] std::string UsageText();

}  // namespace rmt4::ctl
