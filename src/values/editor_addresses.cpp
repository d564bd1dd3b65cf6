#include "values/editor_addresses.h"

#include "values/editor_codes.h"

namespace rmt4 {
namespace {

// Offsets of the equaliser and filter section, the same in an input block
// and in an effect return's block.
constexpr int kEqOnOffset = 22;
constexpr int kHpfTypeOffset = 23;
constexpr int kHpfFrequencyOffset = 24;
constexpr int kLpfTypeOffset = 25;
constexpr int kLpfFrequencyOffset = 26;
constexpr int kBandFrequencyOffset = 28;
constexpr int kBandGainOffset = 29;
constexpr int kBandQOffset = 30;
constexpr int kBandStride = 4;
constexpr int kInputBandCount = 4;
constexpr int kOutputBandCount = 13;
// A bus block holds the same section 11 addresses earlier than an input block.
constexpr int kBusEqShift = 11;
// The delay and compressor words of a bus: at its delay word, which is
// 973 for MAIN and the block base + 3 for an AUX bus; MAIN's right delay
// lies apart, and only the AUX buses have a feedback suppressor.
constexpr int kBusDelayOffset = 3;
constexpr int kDynamicsRatioOffset = 1;
constexpr int kDynamicsAttackOffset = 2;
constexpr int kDynamicsReleaseOffset = 3;
constexpr int kDynamicsThresholdOffset = 4;
constexpr int kDynamicsFeedbackOffset = 5;

// Other input block offsets.
constexpr int kSwitchesOffset = 0;
constexpr int kNoiseGateOffset = 1;
constexpr int kGainOffset = 2;
constexpr int kBalanceOffset = 3;
constexpr int kLevelOffset = 4;
constexpr int kAuxSendOffset = 5;
constexpr int kLeftOffset = 11;
constexpr int kRightOffset = 12;
constexpr int kPflOffset = 13;
constexpr int kEfx1SendOffset = 15;
constexpr int kEfx2SendOffset = 16;
constexpr int kDelayOffset = 17;
constexpr int kRatioOffset = 18;
constexpr int kAttackOffset = 19;
constexpr int kReleaseOffset = 20;
constexpr int kThresholdOffset = 21;

/// An effect return: where its equaliser section would start if it were an
/// input block (its EQ switch sits at base + 22 like an input's), and its own words.
struct EffectReturn {
  int eqBase;
  ParamAddress auxSends;  // AUX1 .. AUX6 follow
  ParamAddress mainSend;  // the second half follows
  ParamAddress program;
  ParamAddress parameter1;  // parameter 2 follows
  ParamAddress programType;
  ParamAddress level;
  ParamAddress on;
  std::uint16_t pflBusBit;
};
constexpr EffectReturn kReturns[2] = {
    {1099, 1113, 1119, address::kFx1Program, 1143, address::kFx1ProgramType, 1110, 1111, 0x0100},
    {1136, 1150, 1156, address::kFx2Program, 1180, address::kFx2ProgramType, 1147, 1148, 0x0200},
};

// Offsets inside a bus block.
constexpr int kBusPhaseOffset = 1;
constexpr int kBusOnOffset = 2;
constexpr int kBusLeftOffset = 9;
constexpr int kBusRightOffset = 10;
constexpr std::uint16_t kMainPflBit = 0x0040;

ParamAddress At(int base, int offset) { return static_cast<ParamAddress>(base + offset); }

bool IsEffectReturn(int channel) { return channel == kFx1Channel || channel == kFx2Channel; }

/// The equaliser and filter codes, which inputs and returns share; none for other codes.
std::optional<ParamAddress> EqAddress(int base, int code, int bandCount) {
  using namespace editor_code;
  for (int band = 0; band < bandCount; ++band) {
    const int stride = kBandStride * band;
    if (code == kBandFrequency + band) return At(base, kBandFrequencyOffset + stride);
    if (code == kBandGain + band) return At(base, kBandGainOffset + stride);
    if (code == kBandQ + band) return At(base, kBandQOffset + stride);
  }
  switch (code) {
    case kEqOn:
      return At(base, kEqOnOffset);
    case kHpfType:
      return At(base, kHpfTypeOffset);
    case kHpfFrequency:
      return At(base, kHpfFrequencyOffset);
    case kLpfType:
      return At(base, kLpfTypeOffset);
    case kLpfFrequency:
      return At(base, kLpfFrequencyOffset);
    default:
      return std::nullopt;
  }
}

std::optional<ParamAddress> ChannelOnlyAddress(int base, int code) {
  using namespace editor_code;
  if (code >= kAux1Send && code < kAux1Send + kAuxBusCount) return At(base, kAuxSendOffset + code - kAux1Send);
  switch (code) {
    case kDelay:
      return At(base, kDelayOffset);
    case kGain:
      return At(base, kGainOffset);
    case kNoiseGate:
      return At(base, kNoiseGateOffset);
    case kEfx1Send:
      return At(base, kEfx1SendOffset);
    case kEfx2Send:
      return At(base, kEfx2SendOffset);
    case kThreshold:
      return At(base, kThresholdOffset);
    case kAttack:
      return At(base, kAttackOffset);
    case kRelease:
      return At(base, kReleaseOffset);
    case kRatio:
      return At(base, kRatioOffset);
    default:
      return std::nullopt;
  }
}

EditorAddresses ReturnOnlyAddresses(const EffectReturn& fx, int code) {
  using namespace editor_code;
  if (code >= kAux1Send && code < kAux1Send + kAuxBusCount) return {At(fx.auxSends, code - kAux1Send)};
  switch (code) {
    case kMainSend:
      return {fx.mainSend, At(fx.mainSend, 1)};
    case kEffectParameter1:
      return {fx.parameter1};
    case kEffectParameter2:
      return {At(fx.parameter1, 1)};
    case kEffectProgram:
    case kStoreEffectProgram:
      return {fx.program};
    case kEffectProgramType:
      return {fx.programType};
    default:
      return {};
  }
}

/// The compressor codes of an output bus, from its delay word.
std::optional<ParamAddress> OutputDynamicsAddress(ParamAddress delay, int code) {
  switch (code) {
    case output_code::kRatio:
      return At(delay, kDynamicsRatioOffset);
    case output_code::kAttack:
      return At(delay, kDynamicsAttackOffset);
    case output_code::kRelease:
      return At(delay, kDynamicsReleaseOffset);
    case output_code::kThreshold:
      return At(delay, kDynamicsThresholdOffset);
    default:
      return std::nullopt;
  }
}

/// The output editors: bus 0 MAIN, 1..6 AUX1..AUX6.
EditorAddresses OutputAddresses(int bus, int code) {
  const bool main = bus == 0;
  const int base = main ? address::kMainBus : BusBlockBase(static_cast<Bus>(bus));
  if (const auto eq = EqAddress(base - kBusEqShift, code, kOutputBandCount)) return {*eq};
  const ParamAddress delay = main ? address::kMainLeftDelay : At(base, kBusDelayOffset);
  if (const auto dynamics = OutputDynamicsAddress(delay, code)) return {*dynamics};
  if (main) {
    // Codes 58 and 59 both reach MAIN's left delay, 60 its right one.
    if (code == output_code::kLeftDelay || code == output_code::kDelay) return {delay};
    if (code == output_code::kRightDelay) return {address::kMainRightDelay};
    return {};
  }
  if (code == output_code::kDelay) return {delay};
  if (code == output_code::kFeedbackSuppressor) return {At(delay, kDynamicsFeedbackOffset)};
  return {};
}

}  // namespace

std::optional<ParamAddress> ChannelBlockBase(int channel) {
  if (channel < 0 || channel >= kFx1Channel) return std::nullopt;
  return InputBlockBase(channel);
}

EditorAddresses EditorCodeAddresses(int channel, int code) {
  if (channel >= kMainChannel && channel <= kLastEditorChannel) return OutputAddresses(channel - kMainChannel, code);
  if (IsEffectReturn(channel)) {
    const EffectReturn& fx = kReturns[channel - kFx1Channel];
    if (const auto eq = EqAddress(fx.eqBase, code, kInputBandCount)) return {*eq};
    return ReturnOnlyAddresses(fx, code);
  }
  const std::optional<ParamAddress> base = ChannelBlockBase(channel);
  if (!base) return {};
  if (const auto eq = EqAddress(*base, code, kInputBandCount)) return {*eq};
  if (const auto own = ChannelOnlyAddress(*base, code)) return {*own};
  return {};
}

InputHeaderAddresses InputHeader(int channel) {
  if (IsEffectReturn(channel)) {
    const EffectReturn& fx = kReturns[channel - kFx1Channel];
    return {fx.level, fx.on, std::nullopt, std::nullopt, std::nullopt, std::nullopt, fx.pflBusBit};
  }
  const ParamAddress base = ChannelBlockBase(channel).value_or(InputBlockBase(0));
  return {At(base, kLevelOffset), At(base, kSwitchesOffset), At(base, kPflOffset), At(base, kLeftOffset),
          At(base, kRightOffset), At(base, kBalanceOffset), 0};
}

BusHeaderAddresses BusHeader(int bus) {
  if (bus <= 0 || bus >= kOutputBusCount) {
    return {address::kMainBus, At(address::kMainBus, kBusPhaseOffset), address::kMainOn, std::nullopt, std::nullopt,
            kMainPflBit};
  }
  const ParamAddress base = BusBlockBase(static_cast<Bus>(bus));
  return {base, At(base, kBusPhaseOffset), At(base, kBusOnOffset), At(base, kBusLeftOffset),
          At(base, kBusRightOffset), static_cast<std::uint16_t>(1U << (bus - 1))};
}

}  // namespace rmt4
