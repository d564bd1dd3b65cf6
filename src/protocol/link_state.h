#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"
#include "protocol/console_info.h"
#include "protocol/param_table.h"
#include "protocol/reply_signal.h"

namespace rmt4 {

/// Link health, reset by every accepted frame and counted by every send made
/// into silence.
struct LinkHealth {
  std::atomic<std::uint8_t> missCount{0};
  std::atomic<std::int64_t> lastReplyTick{0};
};

/// The records the link threads and the windows share: the parameter mirror,
/// what the console said about itself, and the reply hand-over. One instance
/// lives as long as the link layer.
struct LinkState {
  explicit LinkState(Clock& linkClock = SteadyClock()) : clock(linkClock), reply(linkClock) {}
  LinkState(const LinkState&) = delete;
  LinkState& operator=(const LinkState&) = delete;

  /// The time every link timing rule is measured in.
  Clock& clock;
  ParamTable params;
  DeviceInfo device;
  ModeNameTable modeNames;
  ReplySeenFlags replySeen;
  ReplySignal reply;
  LinkHealth health;
};

}  // namespace rmt4
