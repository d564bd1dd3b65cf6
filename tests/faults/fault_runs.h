#pragma once

#include <cstdint>

#include "fault_rig.h"

namespace rmt4::faults {

/// The top of the values the runs write: within every parameter's range.
inline constexpr std::uint16_t kTopValue = 4095;
inline constexpr int kModeCount = 12;
/// The mode operation word's recall request, with the mode number in the low byte.
inline constexpr std::uint16_t kRecallRequest = 0x0600;

/// Each run prints its figures and returns the process exit code: 0 when the
/// link held up, 1 on any miss, loss, leak or slow stop.

/// Pulls the cable `count` times; a console-side change made meanwhile must reach the mirror
/// and an edit made meanwhile must reach the console or be reported.
int RunPulls(int count, bool serial, Random& random);
/// `count` edits over a link that drops and corrupts replies; none may be lost silently.
int RunLossy(int count, Random& random);
/// `count` links stopped at random moments; each stop must return within a second.
int RunStops(int count, Random& random);
/// A show of `minutes` on the virtual clock with edits, console changes, jobs, pulls and lost
/// frames; no edit may be lost silently, the mirror must keep equal and nothing may grow.
int RunSoak(int minutes, Random& random);

}  // namespace rmt4::faults
