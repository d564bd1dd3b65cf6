#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

// Conversions of the input channel editor's controls: the slider position
// (or button state) a raw parameter word shows, the word a control state
// writes, and the control's text in the current language. The filter and
// band frequencies are in filter_values.h.

// ---- Input gain, delay, noise gate -------------------------------------

/// Input gain display by gain step 0..63, in tenths of a dB: 2/3 dB steps,
/// step 48 = 0 dB (0 → -32.0 dB, 63 → +10.0 dB).
inline constexpr int kGainStepTop = 63;
inline constexpr int kGainUnityStep = 48;
inline constexpr std::array<int, kGainStepTop + 1> GainTable = [] {
  std::array<int, kGainStepTop + 1> table{};
  for (int i = 0; i <= kGainStepTop; ++i) {
    const int numerator = (i - kGainUnityStep) * 20;
    table[static_cast<std::size_t>(i)] = numerator >= 0 ? numerator / 3 : -((-numerator + 2) / 3);  // floor
  }
  return table;
}();

inline constexpr int kDelayTop = 100;      ///< slider steps of 0.1 ms
inline constexpr int kNoiseGateTop = 120;  ///< slider 0..120 = -120..0 dB

/// The raw word is hundredths of a millisecond; the slider shows tenths.
[[nodiscard]] int DelayRaw(double position);
[[nodiscard]] double DelayPosition(int raw);
[[nodiscard]] std::string DelayText(double position);

/// The raw word is the gain step itself.
[[nodiscard]] int GainRaw(double position);
[[nodiscard]] std::string GainText(double position);

/// The raw word is the threshold in dB below 0 (0..120); the slider runs the other way.
[[nodiscard]] int NoiseGateRaw(double position);
[[nodiscard]] double NoiseGatePosition(int raw);
[[nodiscard]] std::string NoiseGateText(double position);

// ---- Sends ---------------------------------------------------------------

inline constexpr int kSendTop = 280;  ///< +10 dB
/// Bit 15 of an AUX send: pre-fader.
inline constexpr std::uint16_t kPreFaderFlag = 0x8000;

/// What a send slider and its Pre/Post button show.
struct SendState {
  std::optional<int> position;  ///< none: the level lies above the slider's top; leave the slider
  bool postFader = false;       ///< the button is pressed
};

/// The level word of slider position `position` (an effect send or the Main send: no flag).
[[nodiscard]] int SendRaw(double position);
/// An AUX send: the level word with the pre-fader flag while the button is released.
[[nodiscard]] int AuxSendRaw(double position, bool postFader);
/// The first position 0..280 whose level reaches the word's level (bit 15 ignored).
[[nodiscard]] std::optional<int> SendPosition(int raw);
/// An AUX word: position as SendPosition; post-fader when the word is below 0x7FFF.
[[nodiscard]] SendState AuxSendState(int raw);

/// "Efx1:- ∞", "AUX3:0.0dB", "Main:-10.0dB" …: `prefix` (a label in the
/// current language) and `number` (0 for none) before the level.
[[nodiscard]] std::string SendText(std::string_view prefix, int number, double position);

// ---- Compressor ------------------------------------------------------------

inline constexpr int kThresholdTop = 56;  ///< -50..+6 dBu
inline constexpr int kTimeTop = 127;      ///< attack and release, ms
inline constexpr int kRatioTop = 40;
/// Bit 15 of the ratio word: the compressor is off.
inline constexpr std::uint16_t kCompressorOffFlag = 0x8000;

/// Ratio by slider position, in tenths (1.0:1 … 30.0:1, then 100.0:1).
inline constexpr std::array<int, kRatioTop + 1> RatioTable{
    10, 12, 14, 16,  18,  20,  24,  28,  32,  36,  40,  44,  48,  52,  56,  60,  64,  68,  72,  76,  80,
    84, 90, 96, 102, 108, 114, 120, 130, 140, 150, 160, 170, 180, 190, 200, 220, 240, 260, 300, 1000};

/// Threshold, attack and release words are the slider value in tenths.
[[nodiscard]] int TenthsRaw(double position);
[[nodiscard]] double TenthsPosition(int raw);
[[nodiscard]] std::string ThresholdText(double position);
[[nodiscard]] std::string AttackText(double position);
[[nodiscard]] std::string ReleaseText(double position);

/// What the ratio slider and the compressor button show.
struct RatioState {
  std::optional<int> position;  ///< none: above the table's top; leave the slider
  bool compressorOff = false;   ///< the button is pressed
};
[[nodiscard]] int RatioRaw(double position, bool compressorOff);
[[nodiscard]] RatioState RatioStateOf(int raw);
[[nodiscard]] std::string RatioText(double position);

// ---- EQ bands ----------------------------------------------------------------

/// The band frequency word (the same encoding as the cut filters).
[[nodiscard]] int BandFrequencyRaw(double hz);
/// Q in hundredths.
[[nodiscard]] int BandQRaw(double q);
/// Gain in tenths of a dB plus 500.
[[nodiscard]] int BandGainRaw(double db);

/// The slider positions are doubles; the words take their whole part.
[[nodiscard]] int WholePosition(double position);

}  // namespace rmt4
