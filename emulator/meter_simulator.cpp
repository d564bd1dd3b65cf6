#include "emulator/meter_simulator.h"

#include <algorithm>
#include <cmath>

namespace rmt4::emulator {
namespace {

// At the PC's poll rate of about 20 per second, a beat every 10 polls is
// roughly 120 beats per minute.
constexpr unsigned kPollsPerBeat = 10;
constexpr double kDecayPerPoll = 0.72;
constexpr int kMaxLevel = 15;

}  // namespace

std::uint16_t MeterSimulator::Next() {
  if (poll_ % kPollsPerBeat == 0) {
    envelope_ = 1.0;
  } else if (poll_ % kPollsPerBeat == kPollsPerBeat / 2) {
    envelope_ = std::max(envelope_, 0.6);  // the off-beat
  } else {
    envelope_ *= kDecayPerPoll;
  }
  ++poll_;
  const int left = Channel(envelope_);
  const int right = Channel(envelope_);
  return static_cast<std::uint16_t>(left | right << 4);
}

int MeterSimulator::Channel(double envelope) {
  std::uniform_real_distribution<double> noise(-0.12, 0.12);
  // A floor keeps the meters alive between beats, as sustained music would.
  const double level = std::clamp(0.25 + 0.75 * envelope + noise(random_), 0.0, 1.0);
  return static_cast<int>(std::lround(level * kMaxLevel));
}

}  // namespace rmt4::emulator
