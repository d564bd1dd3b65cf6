#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "values/own_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {

/// Smooth moves of levels to a target over a time, at the pace of whoever
/// ticks them (the link's rate: every 50 ms). A fade moves along the
/// parameter's range as a fader travels (NormalisedOf), not straight in dB.
/// The steps are stored later, maybe on another thread; a fade ends at once
/// when its word holds a value none of its latest steps wrote (the console's
/// operator or the window moved it: they win). Used on one thread.
class Fades {
 public:
  /// Whether `address` can fade (a level or another value with a range):
  /// levels, sends, pan, dynamics, delays, filter and band frequencies, band
  /// gains and Q. Choices and switches do not.
  [[nodiscard]] static bool CanFade(ParamAddress address);

  /// Starts a fade of `address` from `from` to `target` (own bits `own`)
  /// over `seconds`, replacing any fade of the same word. A word that cannot
  /// fade, or a fade of no time, takes its target at the next Tick.
  void Start(ParamAddress address, std::uint16_t from, const RequestedEdit& target, double seconds, std::int64_t nowMs);
  void Cancel(ParamAddress address);

  /// The steps due at `nowMs` (one per fade whose value moved; a fade past
  /// its time gives its target and ends); fades whose word `valueAt` says
  /// someone else moved end without a step.
  [[nodiscard]] std::vector<RequestedEdit> Tick(std::int64_t nowMs, const ValueAt& valueAt);

  [[nodiscard]] bool Empty() const;
  [[nodiscard]] bool Fading(ParamAddress address) const;

  /// The words whose fades Tick ended because someone else moved them, since the last call.
  [[nodiscard]] std::vector<ParamAddress> TakeOverridden();

 private:
  struct Fade {
    RequestedEdit target;
    double fromPosition = 0;
    double toPosition = 0;
    std::int64_t startMs = 0;
    std::int64_t durationMs = 0;
    /// The bits a step writes, and the latest values of them the fade started
    /// from or wrote: a step stored late is its own.
    std::uint16_t own = kWholeWord;
    std::vector<std::uint16_t> ownValues;
    /// The last step given (the start at first): a step is given only when it differs.
    RequestedEdit given;
  };

  /// The step of `fade` at `nowMs`, or its target once its time is over.
  [[nodiscard]] static RequestedEdit StepAt(const Fade& fade, std::int64_t nowMs);
  [[nodiscard]] static bool Wrote(const Fade& fade, std::uint16_t value);
  static void Remember(Fade& fade, std::uint16_t value);

  std::map<ParamAddress, Fade> fades_;
  std::vector<ParamAddress> overridden_;
};

}  // namespace rmt4
