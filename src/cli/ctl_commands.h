#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/ctl_options.h"
#include "cli/ctl_owner.h"
#include "history/change_log.h"
#include "link/link_worker.h"
#include "values/param_bits.h"

namespace rmt4::ctl {

/// A running link and the terminal it reports to; the commands below use it.
struct CtlSession {
  LinkWorker& worker;
  CtlOwner& owner;
  double timeoutSeconds;
  bool answerYes;
  /// From start to the end of the complete read.
  double secondsToSynced;
  /// Print names and units instead of "ADDR VALUE".
  bool named = false;
  /// watch: only these addresses; empty = all.
  std::vector<ParamAddress> watched;
  /// set: words written in these bits only (ResolvedCommand::ownBits).
  std::map<ParamAddress, std::uint16_t> ownBits;
  /// get and watch: the bit name each address prints as (ResolvedCommand::readAs).
  std::vector<const BitParam*> readAs;
  /// set --fade: the seconds the values move over.
  std::optional<double> fadeSeconds;
  /// How the console is reached, in words ("network 127.0.0.2", "USB").
  std::string transport;
  /// scene upload: what it may write, and --dry-run.
  SceneScope scope;
  bool dryRun = false;
};

/// Set from a signal handler: long-running commands end cleanly.
void RequestInterrupt();
[[nodiscard]] bool Interrupted();
/// An eventfd that RequestInterrupt also signals (-1: none), for a command
/// that waits in poll() rather than polling Interrupted().
void WakeOnInterrupt(int eventFd);

/// The day's change log as rmt4ctl writes it: the window's folder, nothing
/// of earlier runs read back, problems said on stderr.
[[nodiscard]] ChangeLogOptions CtlChangeLogOptions(const ParamTable& params);

/// Commands that need no console.
[[nodiscard]] bool IsOfflineCommand(const std::vector<std::string>& command);
[[nodiscard]] int RunOfflineCommand(const std::vector<std::string>& command);

/// A scene upload whose file cannot be read (and says so): refused before anything connects.
[[nodiscard]] bool IsUnreadableSceneUpload(const std::vector<std::string>& command);

/// Checks a command's words before anything connects; empty when fine.
[[nodiscard]] std::string ValidateCommand(const std::vector<std::string>& command);

/// Why `set --fade` cannot fade the words of a resolved set command; empty when it can.
[[nodiscard]] std::string ValidateFade(const std::vector<std::string>& command);

/// The only addresses a command needs from the console (get and set), read
/// instead of everything; nothing when it needs the complete read.
[[nodiscard]] std::optional<std::vector<ParamAddress>> AddressesToRead(const std::vector<std::string>& command);

/// Runs a command on a link that has finished its read after connecting.
[[nodiscard]] int RunCommand(CtlSession& session, const std::vector<std::string>& command);

}  // namespace rmt4::ctl
