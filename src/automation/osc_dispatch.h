#pragma once

// What one OSC packet asks of the server, without any socket: the replies
// it earns, the edits it leaves waiting, the subscriptions and fades it
// starts. The server's thread and the fuzz target drive it alike.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "automation/fades.h"
#include "automation/osc_clients.h"
#include "automation/osc_packet.h"
#include "automation/osc_pending_edits.h"
#include "automation/osc_server.h"
#include "protocol/param_table.h"
#include "values/param_bits.h"

namespace rmt4 {

/// Following without a time given lasts this long; sending again renews.
inline constexpr double kDefaultFollowSeconds = 10;
inline constexpr double kMaxFollowSeconds = 24 * 3600;
inline constexpr double kMaxFadeSeconds = 3600;
/// One packet earns at most this many replies (a get of every parameter fits).
inline constexpr std::size_t kMaxRepliesPerPacket = kParamCount + 64;

/// What the dispatch reads and changes; owned by the server.
struct OscState {
  const ParamTable& params;
  OscClients& clients;
  Fades& fades;
  OscPendingEdits& edits;
  std::function<OscLinkStatus()> status;
};

struct OscOutgoing {
  OscPeer to;
  OscMessage message;
};

struct OscDispatched {
  std::vector<OscOutgoing> replies;
  /// Not OSC, or too large: nothing was done and nothing is answered.
  bool malformed = false;
  /// Messages answered with /error.
  int refused = 0;
  /// Edits were added to the waiting ones.
  bool edited = false;
};

[[nodiscard]] OscDispatched DispatchOscPacket(std::span<const std::uint8_t> packet, OscPeer sender, std::int64_t nowMs,
                                              OscState& state);

/// The answer to a get of `address`, also pushed to its followers: its value
/// as a number in its unit (an int for whole ones; the raw word for words
/// without a number) and its text as rmt4ctl prints it.
[[nodiscard]] OscMessage ValueMessage(const ParamTable& params, ParamAddress address);
/// The same for a bit name: 1 or 0 as its bits are set, and its text ("ON", "post").
[[nodiscard]] OscMessage BitsMessage(const ParamTable& params, const BitParam& bits);

/// "/meters" with the left and right level in dBFS (floats; -inf for silence).
[[nodiscard]] OscMessage MetersMessage(std::uint16_t meterWord);

}  // namespace rmt4
