#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/link_owner.h"

namespace rmt4 {

enum class TraceDirection { In, Out };

/// The name of a command code ("ReadParams"); codes we do not know as their decimal number.
[[nodiscard]] std::string CommandName(std::uint8_t code);
[[nodiscard]] std::string_view StatusName(LinkStatus status);

/// One trace line for a whole frame: "12.345 out ReadParams 80 05 06 00 00 13 c5",
/// then " (NOTE)" when a note is given. `elapsedMs` is the time since the trace started.
[[nodiscard]] std::string FrameRecord(std::int64_t elapsedMs, TraceDirection direction,
                                      std::span<const std::uint8_t> frame, std::string_view note = {});

/// One trace line for an event: "12.345 event WHAT DETAIL". The detail may come
/// from the console: bytes outside printable ASCII appear as \xHH.
[[nodiscard]] std::string EventRecord(std::int64_t elapsedMs, std::string_view what, std::string_view detail = {});

}  // namespace rmt4
