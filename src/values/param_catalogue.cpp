#include "values/param_catalogue.h"

#include <array>

#include "values/editor_addresses.h"
#include "values/editor_codes.h"

namespace rmt4 {
namespace {

using Catalogue = std::array<ParamInfo, kParamCount>;

// Offsets of a bus block that no editor code names: MAIN's block is laid out
// like an AUX block, but no window shows its feedback suppressor.
constexpr int kBusFeedbackOffset = 8;
constexpr int kBusLeftOffset = 9;
constexpr int kBusRightOffset = 10;
constexpr int kInputBands = 4;
constexpr int kOutputBands = 13;
constexpr int kPhantomPowerChannels = 8;

class Builder {
 public:
  Builder() {
    for (std::size_t a = 0; a < kParamCount; ++a) {
      entries_[a].address = static_cast<ParamAddress>(a);
      entries_[a].name = "addr." + std::to_string(a);
    }
  }

  /// Names `address` unless an earlier rule did: one name per address.
  void Name(ParamAddress address, const std::string& channel, std::string_view parameter, ParamSection section,
            ValueKind kind) {
    ParamInfo& entry = entries_[address];
    if (!entry.channel.empty()) return;
    entry.name = channel + "." + std::string(parameter);
    entry.channel = channel;
    entry.section = section;
    entry.kind = kind;
  }
  void Pair(ParamAddress first, ParamAddress second, const std::string& channel, std::string_view parameter,
            ParamSection section, ValueKind kind) {
    Name(first, channel, parameter, section, kind);
    Name(second, channel, std::string(parameter) + ".linked", section, kind);
    entries_[first].companion = second;
  }

  /// Names the address(es) editor code `editorCode` writes on `channel`.
  void NameCode(int channel, int editorCode, std::string_view parameter, ParamSection section, ValueKind kind) {
    const std::string name = ChannelName(channel);
    const EditorAddresses addresses = EditorCodeAddresses(channel, editorCode);
    if (addresses.size() == 2) {
      Pair(addresses[0], addresses[1], name, parameter, section, kind);
    } else if (addresses.size() == 1) {
      Name(addresses[0], name, parameter, section, kind);
    }
  }

  /// The editor-code addresses of one editor channel that are not the
  /// channel's own header words.
  void Codes(int channel, int bands) {
    using namespace editor_code;
    const std::string name = ChannelName(channel);
    auto code = [&](int editorCode, std::string_view parameter, ParamSection section, ValueKind kind) {
      NameCode(channel, editorCode, parameter, section, kind);
    };
    for (int band = 0; band < bands; ++band) {
      const std::string prefix = "eq" + std::to_string(band + 1);
      const EditorAddresses frequency = EditorCodeAddresses(channel, kBandFrequency + band);
      // The band type sits just before its frequency; no window edits it.
      if (frequency.size() == 1) {
        Name(static_cast<ParamAddress>(frequency[0] - 1), name, prefix + ".type", ParamSection::kEq,
             ValueKind::kBandType);
      }
      code(kBandFrequency + band, prefix + ".freq", ParamSection::kEq, ValueKind::kBandFrequency);
      code(kBandGain + band, prefix + ".gain", ParamSection::kEq, ValueKind::kBandGain);
      code(kBandQ + band, prefix + ".q", ParamSection::kEq, ValueKind::kBandQ);
    }
    code(kEqOn, "eq", ParamSection::kEq, ValueKind::kEqSwitch);
    code(kHpfType, "hpf.type", ParamSection::kFilter, ValueKind::kHpfType);
    code(kHpfFrequency, "hpf.freq", ParamSection::kFilter, ValueKind::kCutFrequency);
    code(kLpfType, "lpf.type", ParamSection::kFilter, ValueKind::kLpfType);
    code(kLpfFrequency, "lpf.freq", ParamSection::kFilter, ValueKind::kCutFrequency);
    if (channel >= kMainChannel) return;  // the output editors give other meanings to the codes below
    code(kGain, "gain", ParamSection::kStrip, ValueKind::kGainStep);
    code(kNoiseGate, "gate", ParamSection::kDynamics, ValueKind::kNoiseGate);
    code(kDelay, "delay", ParamSection::kDelay, ValueKind::kDelay);
    code(kEfx1Send, "send.fx1", ParamSection::kSends, ValueKind::kLevel);
    code(kEfx2Send, "send.fx2", ParamSection::kSends, ValueKind::kLevel);
    code(kMainSend, "send.main", ParamSection::kSends, ValueKind::kLevel);
    for (int aux = 0; aux < kAuxBusCount; ++aux) {
      code(kAux1Send + aux, "send.aux" + std::to_string(aux + 1), ParamSection::kSends, ValueKind::kAuxSend);
    }
    code(kRatio, "comp.ratio", ParamSection::kDynamics, ValueKind::kRatio);
    code(kAttack, "comp.attack", ParamSection::kDynamics, ValueKind::kTime);
    code(kRelease, "comp.release", ParamSection::kDynamics, ValueKind::kTime);
    code(kThreshold, "comp.threshold", ParamSection::kDynamics, ValueKind::kThreshold);
    const ValueKind program = channel == kFx1Channel ? ValueKind::kProgramA : ValueKind::kProgramB;
    code(kEffectProgram, "program", ParamSection::kEffect, program);
    code(kEffectProgramType, "program.type", ParamSection::kEffect, ValueKind::kProgramType);
    code(kEffectParameter1, "param1", ParamSection::kEffect, ValueKind::kEffectParameter1);
    code(kEffectParameter2, "param2", ParamSection::kEffect, ValueKind::kEffectParameter2);
    const EditorAddresses type = EditorCodeAddresses(channel, kEffectProgramType);
    for (const int parameter : {kEffectParameter1, kEffectParameter2}) {
      for (const ParamAddress address : EditorCodeAddresses(channel, parameter)) entries_[address].readWith = type.front();
    }
  }

  void InputStrip(int channel) {
    const std::string name = ChannelName(channel);
    const InputHeaderAddresses header = InputHeader(channel);
    Name(header.level, name, "fader", ParamSection::kStrip, ValueKind::kLevel);
    if (header.isEffectReturn()) {
      Name(header.mute, name, "mute", ParamSection::kStrip, ValueKind::kOnWord);
      return;
    }
    Name(header.mute, name, "mute", ParamSection::kStrip,
         channel < kPhantomPowerChannels ? ValueKind::kSwitches : ValueKind::kSwitchesNo48V);
    Pair(*header.pfl, static_cast<ParamAddress>(*header.pfl + 1), name, "pfl", ParamSection::kStrip, ValueKind::kPfl);
    Name(*header.left, name, "left", ParamSection::kStrip, ValueKind::kRouted);
    Name(*header.right, name, "right", ParamSection::kStrip, ValueKind::kRouted);
    Name(*header.balance, name, "pan", ParamSection::kStrip, ValueKind::kPan);
  }

  void Bus(int bus) {
    const int channel = kMainChannel + bus;
    const std::string name = ChannelName(channel);
    const BusHeaderAddresses header = BusHeader(bus);
    const ParamAddress base = header.level;
    auto at = [base](int offset) { return static_cast<ParamAddress>(base + offset); };
    if (bus == 0) {
      // The table's set operation keeps these twins in step by itself: no companion.
      Name(header.level, name, "fader", ParamSection::kStrip, ValueKind::kLevel);
      Name(address::kMainBusLinked, name, "fader.linked", ParamSection::kStrip, ValueKind::kLevel);
      Name(header.on, name, "mute", ParamSection::kStrip, ValueKind::kOnWord);
      Name(address::kMainOnLinked, name, "mute.linked", ParamSection::kStrip, ValueKind::kOnWord);
      NameCode(channel, output_code::kLeftDelay, "delay.left", ParamSection::kDelay, ValueKind::kDelay);
      NameCode(channel, output_code::kRightDelay, "delay.right", ParamSection::kDelay, ValueKind::kDelay);
      Name(at(kBusFeedbackOffset), name, "feedback", ParamSection::kDynamics, ValueKind::kFeedback);
      Name(address::kMainBalance, name, "balance", ParamSection::kStrip, ValueKind::kPan);
    } else {
      Name(header.level, name, "fader", ParamSection::kStrip, ValueKind::kLevel);
      Name(header.on, name, "mute", ParamSection::kStrip, ValueKind::kOnWord);
      NameCode(channel, output_code::kDelay, "delay", ParamSection::kDelay, ValueKind::kDelay);
      NameCode(channel, output_code::kFeedbackSuppressor, "feedback", ParamSection::kDynamics, ValueKind::kFeedback);
    }
    Name(header.phase, name, "phase", ParamSection::kStrip, ValueKind::kSwitch);
    Name(at(kBusLeftOffset), name, "left", ParamSection::kStrip, ValueKind::kRouted);
    Name(at(kBusRightOffset), name, "right", ParamSection::kStrip, ValueKind::kRouted);
    // The compressor words have the input block's encodings.
    NameCode(channel, output_code::kRatio, "comp.ratio", ParamSection::kDynamics, ValueKind::kRatio);
    NameCode(channel, output_code::kAttack, "comp.attack", ParamSection::kDynamics, ValueKind::kTime);
    NameCode(channel, output_code::kRelease, "comp.release", ParamSection::kDynamics, ValueKind::kTime);
    NameCode(channel, output_code::kThreshold, "comp.threshold", ParamSection::kDynamics, ValueKind::kThreshold);
    Codes(channel, kOutputBands);
  }

  void System() {
    const std::string sys(kSystemChannel);
    Name(address::kDeviceType, sys, "device", ParamSection::kSystem, ValueKind::kRaw);
    Name(address::kLevelMeters, sys, "meters", ParamSection::kSystem, ValueKind::kRaw);
    Name(address::kRecordingDevice, sys, "recorder", ParamSection::kSystem, ValueKind::kRecorder);
    Name(address::kPflBus, sys, "pfl", ParamSection::kSystem, ValueKind::kPflBus);
    Name(address::kChannelSelect, sys, "select", ParamSection::kSystem, ValueKind::kRaw);
    Name(address::kCurrentMode, sys, "mode", ParamSection::kSystem, ValueKind::kMode);
    Name(address::kModeOperation, sys, "mode.operation", ParamSection::kSystem, ValueKind::kRaw);
    Name(address::kKeepAlive, sys, "keepalive", ParamSection::kSystem, ValueKind::kRaw);
    Name(address::kSystemNoiseGate, sys, "noisegate", ParamSection::kSystem, ValueKind::kSystemNoiseGate);
    Name(address::kFootSwitch, sys, "footswitch", ParamSection::kSystem, ValueKind::kFootSwitch);
  }

  [[nodiscard]] const Catalogue& entries() const { return entries_; }

 private:
  Catalogue entries_;
};

Catalogue BuildCatalogue() {
  Builder builder;
  builder.System();
  for (int channel = 0; channel <= kFx2Channel; ++channel) {
    builder.InputStrip(channel);
    builder.Codes(channel, kInputBands);
  }
  for (int bus = 0; bus < kOutputBusCount; ++bus) builder.Bus(bus);
  return builder.entries();
}

}  // namespace

std::string ChannelName(int channel) {
  if (channel < kSt910Channel) return "ch" + std::to_string(channel + 1);
  if (channel == kSt910Channel) return "st9";
  if (channel == kDigitalChannel) return "dig";
  if (channel == kFx1Channel) return "fx1";
  if (channel == kFx2Channel) return "fx2";
  if (channel == kMainChannel) return "main";
  return "aux" + std::to_string(channel - kMainChannel);
}

std::span<const ParamInfo, kParamCount> ParamCatalogue() {
  static const Catalogue catalogue = BuildCatalogue();
  return catalogue;
}

const ParamInfo& ParamAt(ParamAddress address) { return ParamCatalogue()[address < kParamCount ? address : 0]; }

std::string_view SectionName(ParamSection section) {
  switch (section) {
    case ParamSection::kStrip:
      return "strip";
    case ParamSection::kEq:
      return "eq";
    case ParamSection::kFilter:
      return "filter";
    case ParamSection::kDynamics:
      return "dynamics";
    case ParamSection::kSends:
      return "sends";
    case ParamSection::kDelay:
      return "delay";
    case ParamSection::kEffect:
      return "effect";
    case ParamSection::kSystem:
      return "system";
    case ParamSection::kOther:
      break;
  }
  return "other";
}

}  // namespace rmt4
