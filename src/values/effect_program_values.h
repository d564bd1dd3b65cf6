#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/effect_programs.h"
#include "i18n/label_id.h"

namespace rmt4 {

// The effect programs of the two returns: what a program number and a
// program type mean, and how the two program parameters read for each type.

/// Programs 1..16 are the console's own; 17..36 are the user's.
inline constexpr int kLastFactoryProgram = 16;
inline constexpr int kUserProgramCount = 20;
inline constexpr int kLastProgram = kLastFactoryProgram + kUserProgramCount;
/// The highest program type the console reports that the editor accepts.
inline constexpr int kLastProgramType = 36;
/// Types 1..32 name a program (list A 1..16, list B 17..32).
inline constexpr int kLastNamedProgramType = 32;
/// The program selector holds this many user entries before its first load.
inline constexpr int kInitialProgramEntries = 24;
/// The second program parameter always runs 0..100.
inline constexpr int kProgramParameter2Top = 100;

/// One program parameter as shown: a label row in the current language, a
/// printf format with one floating-point conversion, and the factor from the
/// slider position to the shown value.
struct ProgramParameterLook {
  LabelId name;
  std::string_view format;
  double factor;
};

/// What a program type does to the two parameter sliders.
struct ProgramTypeLook {
  std::optional<int> parameter1Top;  ///< none: the first slider keeps its range
  ProgramParameterLook parameter1;
  ProgramParameterLook parameter2;
};

[[nodiscard]] bool IsFactoryProgram(int program);
/// Why the engine's settings may not be stored into `program` (the console's
/// own programs are not overwritten); none when they may.
[[nodiscard]] std::optional<LabelId> StoreProgramRefusal(int program);
/// The first parameter's largest top over all program types.
[[nodiscard]] int HighestParameter1Top();
/// Whether the editor takes a program type at all (0..36); larger ones are ignored.
[[nodiscard]] bool IsKnownProgramType(int type);

/// The look of `type`; 0 and the unnamed types 33..36 (and anything unknown) look like type 0.
[[nodiscard]] const ProgramTypeLook& ProgramTypeLookOf(int type);

/// The program name of `type`: 0 the first reverb, 1..16 list A, 17..32
/// list B; types 33..36 name no program and read "TYPE 33".."TYPE 36".
[[nodiscard]] std::string ProgramTypeName(int type);

/// The text of a parameter slider at `position`, such as "Echo Delay:100ms".
[[nodiscard]] std::string ProgramParameterText(const ProgramParameterLook& look, double position);

/// The list the selector of a return offers: list A for Fx1, list B for Fx2.
[[nodiscard]] EffectProgramList ProgramListOfChannel(int channel);

/// The selector's entries before any program number arrived: "Ueser-1".."Ueser-24".
[[nodiscard]] std::vector<std::string> InitialProgramEntries();
/// The selector's entries once a program number arrived: the 16 built-in
/// names of `list`, then "Ueser-1".."Ueser-20"; entry k is program k + 1.
[[nodiscard]] std::vector<std::string> ProgramEntries(EffectProgramList list);

}  // namespace rmt4
