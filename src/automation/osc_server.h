#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "protocol/link_owner.h"
#include "protocol/param_table.h"
#include "values/own_bits.h"

namespace rmt4 {

struct OscServerOptions {
  /// UDP port; 0 takes any free one (see OscServer::port).
  std::uint16_t port = 0;
  /// IPv4 address to bind; loopback unless the user says otherwise.
  std::string bindAddress = "127.0.0.1";
  /// Who may send, as "192.168.1.0/24" or one address; empty: whoever reaches the bound address.
  std::vector<std::string> allow;
};

/// Why `options` cannot serve (a bind address or an allowed sender that is
/// not an IPv4 address or ADDRESS/BITS); none when they can.
[[nodiscard]] std::optional<std::string> CheckOscServerOptions(const OscServerOptions& options);

/// What /status answers: the link's state, the transport and the console, in words.
struct OscLinkStatus {
  std::string state;      ///< "connected", "searching", "not answering", "offline"
  std::string transport;  ///< "TCP 127.0.0.2:6010", "USB", "serial /dev/ttyUSB0"
  std::string console;    ///< the console's identity, empty while none
};

/// The /status of a link in `status`, reached by `transport`, whose console
/// said it is device type `deviceType` (0: not yet known).
[[nodiscard]] OscLinkStatus OscStatusOf(LinkStatus status, std::string transport, unsigned deviceType);

/// What the server needs from whoever runs it (the window, rmt4ctl serve).
/// Called on the server's thread.
class OscHost {
 public:
  virtual ~OscHost() = default;
  /// Checked edits wait in the server: have the editing thread take them
  /// (OscServer::TakeEdits) and store them as one step, soon.
  virtual void EditsWaiting() = 0;
  [[nodiscard]] virtual OscLinkStatus Status() = 0;
};

/// How much the server has seen since it started.
struct OscCounters {
  std::uint64_t packets = 0;
  /// Malformed, oversized or from a sender not allowed: dropped unanswered.
  std::uint64_t dropped = 0;
  /// Answered with /error.
  std::uint64_t refused = 0;
};

/// Serves the parameter mirror over OSC on UDP: any number of clients get,
/// set, fade and follow parameters by their catalogue names
/// ("/ch3/fader"). Gets are answered from the mirror on the server's own
/// thread; sets and fade steps are checked there and wait, merged per word
/// in a bounded set, for the host's editing thread (TakeEdits), so they take
/// the same path, steps and confirmation rules as the window's edits.
class OscServer {
 public:
  OscServer(ParamTable& params, OscHost& host, OscServerOptions options, Clock& clock = SteadyClock());
  ~OscServer();
  OscServer(const OscServer&) = delete;
  OscServer& operator=(const OscServer&) = delete;

  /// Binds and starts serving; why not, in the user's language, when it cannot.
  [[nodiscard]] std::optional<std::string> Start();
  /// Stops serving and joins the thread; safe to call twice.
  void Stop();
  /// The bound UDP port (the chosen one when the options said 0).
  [[nodiscard]] std::uint16_t port() const;

  /// The edits waiting, at most one per word (the last asked for), in the
  /// order first asked; on the editing thread, which stores them
  /// (StoreRequestedEdits) as one step.
  [[nodiscard]] std::vector<RequestedEdit> TakeEdits();

  [[nodiscard]] OscCounters counters() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rmt4
