#include "values/effect_program_values.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "i18n/label_text.h"
#include "values/editor_codes.h"

namespace rmt4 {
namespace {

constexpr ProgramParameterLook kPreDelay{LabelId::ReverPreDelay, ":%3.0fms", 1.0};
constexpr ProgramParameterLook kReverbTime{LabelId::ReverbTime, ":%3.1fs", 0.1};
constexpr ProgramParameterLook kEchoDelay{LabelId::EchoDelay, ":%3.0fms", 5.0};  // 5 ms steps
constexpr ProgramParameterLook kEchoRepeat{LabelId::EchoRepeat, ":%3.0f%%", 1.0};
constexpr ProgramParameterLook kReverDelayTenths{LabelId::ReverDelay, ":%3.1fms", 0.1};
constexpr ProgramParameterLook kReverDelay{LabelId::ReverDelay, ":%3.0fms", 1.0};
constexpr ProgramParameterLook kGateEchoDelay{LabelId::EchoDelay, ":%3.0f%%", 1.0};
constexpr ProgramParameterLook kSlope{LabelId::Slope, ":%3.0f", 1.0};
constexpr ProgramParameterLook kDepth{LabelId::Depth, ":%3.0f%%", 1.0};
constexpr ProgramParameterLook kFrequency{LabelId::Frequency, ":%3.0fHz", 1.0};
constexpr ProgramParameterLook kMixingRatio{LabelId::MixingRatio, ":%3.0f%%", 1.0};

constexpr ProgramTypeLook kUnnamed{std::nullopt, kPreDelay, kReverbTime};
constexpr ProgramTypeLook kReverb{30, kPreDelay, kReverbTime};
constexpr ProgramTypeLook kVocalEcho{68, kEchoDelay, kEchoRepeat};
constexpr ProgramTypeLook kDelay{135, kEchoDelay, kEchoRepeat};
constexpr ProgramTypeLook kFrequencyDepth63{63, kFrequency, kDepth};

/// By program type 0..32.
constexpr std::array<ProgramTypeLook, kLastNamedProgramType + 1> kLooks{{
    kUnnamed,
    kReverb, kReverb, kReverb, kReverb, kReverb,    // 1..5
    kVocalEcho, kVocalEcho,                          // 6, 7
    kDelay, kDelay, kDelay,                          // 8..10
    {100, kReverDelayTenths, kGateEchoDelay},        // 11 REVERB GATE
    {63, kSlope, kDepth},                            // 12 PITCH CHANGE
    {42, kFrequency, kDepth},                        // 13 CHORUS
    kFrequencyDepth63, kFrequencyDepth63,            // 14, 15
    {127, kFrequency, kDepth},                       // 16 TREMOLO
    kReverb, kReverb, kReverb, kReverb, kReverb,    // 17..21
    kVocalEcho, kVocalEcho,                          // 22, 23
    kDelay, kDelay,                                  // 24, 25
    {100, kReverDelay, kEchoRepeat},                 // 26 EARLY REF.
    {100, kReverDelayTenths, kEchoRepeat},           // 27 GATE REVERB
    {42, kFrequency, kMixingRatio},                  // 28 VOCAL DOUBLER
    {63, kFrequency, kMixingRatio},                  // 29 FLANGE
    {42, kEchoDelay, kEchoRepeat},                   // 30 SYNPHONIC
    kFrequencyDepth63,                               // 31 DISTORTION
    kDelay,                                          // 32 TAP DELAY
}};

std::string Formatted(const char* format, double value) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, format, value);
  return length < 0 ? std::string() : std::string(text);
}

std::vector<std::string> UserEntries(int count) {
  std::vector<std::string> entries;
  for (int number = 1; number <= count; ++number) entries.push_back("Ueser-" + std::to_string(number));
  return entries;
}

}  // namespace

bool IsFactoryProgram(int program) { return program <= kLastFactoryProgram; }

std::optional<LabelId> StoreProgramRefusal(int program) {
  if (IsFactoryProgram(program)) return LabelId::SystemModeCannotBeSaved;
  return std::nullopt;
}

bool IsKnownProgramType(int type) { return type >= 0 && type <= kLastProgramType; }

const ProgramTypeLook& ProgramTypeLookOf(int type) {
  if (type < 0 || type > kLastNamedProgramType) return kLooks[0];
  return kLooks[static_cast<std::size_t>(type)];
}

std::string ProgramTypeName(int type) {
  const auto count = static_cast<int>(kEffectProgramCount);
  if (type <= 0) return std::string(EffectProgramNames(EffectProgramList::A)[0]);
  if (type <= count) return std::string(EffectProgramNames(EffectProgramList::A)[static_cast<std::size_t>(type - 1)]);
  if (type <= 2 * count) {
    return std::string(EffectProgramNames(EffectProgramList::B)[static_cast<std::size_t>(type - count - 1)]);
  }
  return "TYPE " + std::to_string(type);
}

std::string ProgramParameterText(const ProgramParameterLook& look, double position) {
  // The format is compiled in, never outside text.
  return std::string(LabelText(look.name)) + Formatted(std::string(look.format).c_str(), position * look.factor);
}

int HighestParameter1Top() {
  int top = 0;
  for (int type = 0; type <= kLastProgramType; ++type) top = std::max(top, ProgramTypeLookOf(type).parameter1Top.value_or(0));
  return top;
}

EffectProgramList ProgramListOfChannel(int channel) {
  return channel == kFx1Channel ? EffectProgramList::A : EffectProgramList::B;
}

std::vector<std::string> InitialProgramEntries() { return UserEntries(kInitialProgramEntries); }

std::vector<std::string> ProgramEntries(EffectProgramList list) {
  std::vector<std::string> entries;
  for (const std::string_view name : EffectProgramNames(list)) entries.emplace_back(name);
  const std::vector<std::string> users = UserEntries(kUserProgramCount);
  entries.insert(entries.end(), users.begin(), users.end());
  return entries;
}

}  // namespace rmt4
