#pragma once

#include <cstdint>
#include <vector>

#include "values/own_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {

/// Smooth moves of levels to a target over a time, at the pace of whoever
/// ticks them (the link's rate: every 50 ms). A fade moves along the
/// parameter's range as a fader travels (NormalisedOf), not straight in dB.
/// The steps are stored later, maybe on another thread; a fade ends at once
/// when its word holds a value none of its own steps wrote (the console's
/// operator or the window moved it: they win). Used on one thread.
class Fades {
 public:
  /// Whether `address` can fade (a level or another value with a range).
  [[nodiscard]] static bool CanFade(ParamAddress address);

  /// Starts a fade of `address` from `from` to `target` (own bits `own`)
  /// over `seconds`, replacing any fade of the same word.
  void Start(ParamAddress address, std::uint16_t from, const RequestedEdit& target, double seconds, std::int64_t nowMs);
  void Cancel(ParamAddress address);

  /// The steps due at `nowMs` (one per fade whose value moved; a fade past
  /// its time gives its target and ends); fades whose word `valueAt` says
  /// someone else moved end without a step.
  [[nodiscard]] std::vector<RequestedEdit> Tick(std::int64_t nowMs, const ValueAt& valueAt);

  [[nodiscard]] bool Empty() const;
  [[nodiscard]] bool Fading(ParamAddress address) const;
};

}  // namespace rmt4
