#pragma once

#include <cstdint>

namespace rmt4 {

/// Frequencies below 100 Hz travel in tenths with bit 15 set; bit 15 alone
/// is a cut filter switched off.
inline constexpr std::uint16_t kFrequencyTenthsFlag = 0x8000;
inline constexpr std::uint16_t kCutFilterOff = kFrequencyTenthsFlag;

/// The raw word of a frequency: whole hertz from 100 Hz, else tenths | 0x8000.
[[nodiscard]] std::uint16_t EncodeFrequency(double hz);
/// The frequency a raw word holds (0x8000 alone decodes to 0 Hz).
[[nodiscard]] double DecodeFrequency(std::uint16_t raw);
/// A cut filter's frequency for the curve: a filter that is off is given as
/// `offHz`, a frequency below the curve's lowest one.
[[nodiscard]] double DecodeCutFrequency(std::uint16_t raw, double offHz);

/// Band Q is stored in hundredths.
[[nodiscard]] double DecodeQ(std::uint16_t raw);
[[nodiscard]] std::uint16_t EncodeQ(double q);

/// Band gain is stored as tenths of a dB offset by 500 (500 = 0 dB).
[[nodiscard]] double DecodeGainDb(std::uint16_t raw);
[[nodiscard]] std::uint16_t EncodeGainTenths(int tenthsOfDb);

/// Balance and pan: 0..200, 100 = centre.
inline constexpr int kBalanceCentre = 100;
inline constexpr int kBalanceMax = 200;

/// The value an input's PFL, L and R words hold when switched on.
inline constexpr std::uint16_t kRoutedOn = 1300;

}  // namespace rmt4
