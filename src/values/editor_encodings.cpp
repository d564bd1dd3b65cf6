#include "values/editor_encodings.h"

#include <algorithm>
#include <cmath>

namespace rmt4 {
namespace {

constexpr double kTenthsBelowHz = 100.0;
constexpr int kGainZero = 500;
constexpr std::uint16_t kTenthsMask = 0x7FFF;

std::uint16_t ClampedWord(double value) {
  return static_cast<std::uint16_t>(std::clamp(value, 0.0, 65535.0));
}

}  // namespace

std::uint16_t EncodeFrequency(double hz) {
  // Rounded to the tenth the word holds, so that a frequency computed a hair below its step keeps it.
  if (hz < kTenthsBelowHz) return static_cast<std::uint16_t>(kFrequencyTenthsFlag | ClampedWord(std::round(hz * 10)));
  return ClampedWord(std::min(std::trunc(hz), static_cast<double>(kTenthsMask)));
}

double DecodeFrequency(std::uint16_t raw) {
  if ((raw & kFrequencyTenthsFlag) == 0) return raw;
  return (raw & kTenthsMask) / 10.0;
}

double DecodeCutFrequency(std::uint16_t raw, double offHz) {
  return raw == kCutFilterOff ? offHz : DecodeFrequency(raw);
}

double DecodeQ(std::uint16_t raw) { return raw / 100.0; }

// Rounded: 1.15 × 100 lies just below 115 in binary, and truncating would store Q 1.14.
std::uint16_t EncodeQ(double q) { return ClampedWord(std::round(q * 100)); }

double DecodeGainDb(std::uint16_t raw) { return (raw - kGainZero) / 10.0; }

std::uint16_t EncodeGainTenths(int tenthsOfDb) { return ClampedWord(tenthsOfDb + kGainZero); }

}  // namespace rmt4
