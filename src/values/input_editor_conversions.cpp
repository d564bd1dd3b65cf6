#include "values/input_editor_conversions.h"

#include <algorithm>
#include <cstdio>

#include "i18n/label_id.h"
#include "values/filter_values.h"
#include "values/label_format.h"
#include "values/level_table.h"

namespace rmt4 {
namespace {

// Positions and field values hold exact tenths or hundredths; a product such
// as 0.7 × 10 may land a hair off the whole number it stands for, which
// truncation must not turn into the number below.
constexpr double kRepresentationSlack = 1e-6;

int Truncated(double value) {
  return static_cast<int>(value + (value < 0 ? -kRepresentationSlack : kRepresentationSlack));
}

constexpr int kBandGainOffset = 500;
constexpr int kThresholdOffset = 50;
// The ratio word without the compressor-off flag.
constexpr int kRatioMask = 0x7FFF;

}  // namespace

int WholePosition(double position) { return Truncated(position); }

int DelayRaw(double position) { return Truncated(position * 10); }
double DelayPosition(int raw) { return raw / 10.0; }
std::string DelayText(double position) { return FormatLabel(LabelId::DelayFormat, position / 10); }

int GainRaw(double position) { return Truncated(position); }
std::string GainText(double position) {
  const int step = std::clamp(Truncated(position), 0, kGainStepTop);
  return FormatLabel(LabelId::GainFormat, GainTable[static_cast<std::size_t>(step)] / 10.0);
}

int NoiseGateRaw(double position) { return kNoiseGateTop - Truncated(position); }
double NoiseGatePosition(int raw) { return kNoiseGateTop - raw; }
std::string NoiseGateText(double position) { return FormatLabel(LabelId::NoiseGateFormat, position - kNoiseGateTop); }

int SendRaw(double position) { return LevelAtStep(Truncated(position)); }

int AuxSendRaw(double position, bool postFader) { return SendRaw(position) | (postFader ? 0 : kPreFaderFlag); }

std::optional<int> SendPosition(int raw) { return FaderStepForLevel(static_cast<std::uint16_t>(raw)); }

SendState AuxSendState(int raw) { return {SendPosition(raw), raw < kLevelMask}; }

std::string SendText(std::string_view prefix, int number, double position) {
  std::string text(prefix);
  if (number > 0) text += std::to_string(number);
  if (position <= 0) return text + ":- \u221E";
  char level[32];
  std::snprintf(level, sizeof level, ":%0.1fdB", LevelDb(static_cast<std::uint16_t>(SendRaw(position))));
  return text + level;
}

int TenthsRaw(double position) { return Truncated(position * 10); }
double TenthsPosition(int raw) { return raw / 10.0; }
std::string ThresholdText(double position) {
  return FormatLabel(LabelId::ThresholdFormat, static_cast<int>(position - kThresholdOffset));
}
std::string AttackText(double position) { return FormatLabel(LabelId::AttackFormat, position); }
std::string ReleaseText(double position) { return FormatLabel(LabelId::ReleaseFormat, position); }

int RatioRaw(double position, bool compressorOff) {
  const int step = std::clamp(Truncated(position), 0, kRatioTop);
  return RatioTable[static_cast<std::size_t>(step)] | (compressorOff ? kCompressorOffFlag : 0);
}

RatioState RatioStateOf(int raw) {
  RatioState state;
  state.compressorOff = raw > kRatioMask;
  const int ratio = raw & kRatioMask;
  const auto found = std::lower_bound(RatioTable.begin(), RatioTable.end(), ratio);
  if (found != RatioTable.end()) state.position = static_cast<int>(found - RatioTable.begin());
  return state;
}

std::string RatioText(double position) { return FormatLabel(LabelId::RatioFormat, RatioRaw(position, false) / 10.0); }

int BandFrequencyRaw(double hz) { return EncodeFilterFrequency(hz); }
int BandQRaw(double q) { return Truncated(q * 100); }
int BandGainRaw(double db) { return Truncated(db * 10 + kBandGainOffset); }

}  // namespace rmt4
