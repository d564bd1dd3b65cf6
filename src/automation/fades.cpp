#include "automation/fades.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "values/param_numbers.h"

namespace rmt4 {
namespace {

/// The steps of a fade that may still be on their way to the table: a step
/// is stored within a tick or two, so an older value held again is someone
/// else's move (the operator pulling the fader back along the fade's path).
constexpr std::size_t kStepsInFlight = 4;

/// Whether two steps write the same bits alike.
bool SameEdit(const RequestedEdit& a, const RequestedEdit& b) {
  return a.own == b.own && ((a.value ^ b.value) & a.own) == 0;
}

}  // namespace

bool Fades::CanFade(ParamAddress address) { return HasContinuousRange(address); }

void Fades::Start(ParamAddress address, std::uint16_t from, const RequestedEdit& target, double seconds,
                  std::int64_t nowMs) {
  Fade fade;
  fade.target = target;
  fade.target.address = address;
  fade.startMs = nowMs;
  const std::optional<double> fromPosition = NormalisedOf(address, from);
  const std::optional<double> toPosition = NormalisedOf(address, target.value);
  if (CanFade(address) && fromPosition && toPosition && std::isfinite(seconds) && seconds > 0) {
    fade.fromPosition = *fromPosition;
    fade.toPosition = *toPosition;
    fade.durationMs = std::llround(seconds * 1000);
    fade.own = ValueFromNormalised(address, *toPosition).ownBits;
  }
  Remember(fade, from);
  fade.given = {address, from, fade.own};
  // Steps of the fade it replaces may still be on their way: they are not someone else's move.
  if (const auto replaced = fades_.find(address); replaced != fades_.end()) {
    for (const std::uint16_t value : replaced->second.ownValues) {
      if (!Wrote(fade, value)) Remember(fade, value);
    }
  }
  fades_[address] = std::move(fade);
}

void Fades::Cancel(ParamAddress address) { fades_.erase(address); }

RequestedEdit Fades::StepAt(const Fade& fade, std::int64_t nowMs) {
  const std::int64_t elapsed = nowMs - fade.startMs;
  if (elapsed >= fade.durationMs) return fade.target;
  const double share = static_cast<double>(std::max<std::int64_t>(elapsed, 0)) / static_cast<double>(fade.durationMs);
  const double position = fade.fromPosition + (fade.toPosition - fade.fromPosition) * share;
  const ParsedValue step = ValueFromNormalised(fade.target.address, position);
  return {fade.target.address, step.raw.value_or(fade.target.value), fade.own};
}

void Fades::Remember(Fade& fade, std::uint16_t value) {
  fade.ownValues.push_back(static_cast<std::uint16_t>(value & fade.own));
  if (fade.ownValues.size() > kStepsInFlight) fade.ownValues.erase(fade.ownValues.begin());
}

bool Fades::Wrote(const Fade& fade, std::uint16_t value) {
  const auto own = static_cast<std::uint16_t>(value & fade.own);
  return std::find(fade.ownValues.begin(), fade.ownValues.end(), own) != fade.ownValues.end();
}

std::vector<RequestedEdit> Fades::Tick(std::int64_t nowMs, const ValueAt& valueAt) {
  std::vector<RequestedEdit> steps;
  for (auto it = fades_.begin(); it != fades_.end();) {
    Fade& fade = it->second;
    const std::uint16_t held = valueAt(it->first);
    if (!Wrote(fade, held)) {
      overridden_.push_back(it->first);
      it = fades_.erase(it);
      continue;
    }
    const RequestedEdit step = StepAt(fade, nowMs);
    const bool last = step == fade.target;
    if (!SameEdit(step, fade.given)) {
      steps.push_back(step);
      fade.given = step;
      Remember(fade, step.value);
    }
    it = last ? fades_.erase(it) : std::next(it);
  }
  return steps;
}

bool Fades::Empty() const { return fades_.empty(); }

bool Fades::Fading(ParamAddress address) const { return fades_.contains(address); }

std::vector<ParamAddress> Fades::TakeOverridden() { return std::exchange(overridden_, {}); }

}  // namespace rmt4
