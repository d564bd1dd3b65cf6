#include "emulator/console_model.h"

#include <algorithm>
#include <string>

namespace rmt4::emulator {
namespace {

// The effect-program library lives in the parameter space as records of five
// words (program type, parameter 1, parameter 2, two spare words), so a
// parameter dump or a scene carries it too. Each engine has 16 factory
// programs followed by 20 user programs.
constexpr ParamAddress kFxLibrary = 1215;
constexpr int kFxRecordWords = 5;
constexpr int kFactoryPrograms = 16;
constexpr int kFxCurrentWordCount = 3;
constexpr int kEngineOneFactoryRecord = 0;
constexpr int kEngineTwoFactoryRecord = 16;
constexpr int kEngineOneUserRecord = 32;
constexpr int kEngineTwoUserRecord = 52;

// A mode holds the mix; the device words above 1200 and the effect library are global.
constexpr ParamAddress kLastModeAddress = 1200;

// The MAIN bus block: offset 0 is the fader, offset 2 switches the bus on.
constexpr ParamAddress kMainFader = BusBlockBase(Bus::Main);
constexpr ParamAddress kMainOn = BusBlockBase(Bus::Main) + 2;

}  // namespace

ConsoleModel::ConsoleModel(std::uint16_t deviceType, std::uint32_t modeLockMask, std::uint32_t seed)
    : modeLockMask_(modeLockMask), meters_(seed) {
  for (ParamAddress a = 0; a < kParamCount; ++a) values_[a] = DefaultValue(a);
  values_[address::kDeviceType] = deviceType;
  for (int mode = 1; mode <= kConsoleModeCount; ++mode) {
    const std::string name = "Mode " + std::to_string(mode);
    modes_[mode - 1].name.assign(name.begin(), name.end());
    modes_[mode - 1].snapshot = values_;
  }
}

std::uint16_t ConsoleModel::Write(ParamAddress address, std::uint16_t value) {
  if (!IsReadOnlyWord(address)) values_[address] = value;
  return values_[address];
}

void ConsoleModel::Load(std::span<const std::uint16_t> values) {
  const std::size_t count = std::min(values.size(), static_cast<std::size_t>(kParamCount));
  for (std::size_t a = 0; a < count; ++a) (void)Write(static_cast<ParamAddress>(a), values[a]);
}

std::uint16_t ConsoleModel::PollMeters() {
  const std::uint16_t music = meters_.Next();
  const bool mainSounds = !metersSilenced_ && values_[kMainFader] != 0 && values_[kMainOn] != 0;
  values_[address::kLevelMeters] = mainSounds ? music : 0;
  return values_[address::kLevelMeters];
}

bool ConsoleModel::StoreModeName(int mode, std::vector<std::uint8_t> name) {
  if (!IsValidMode(mode) || IsLocked(mode)) return false;
  if (name.size() > kStoredModeNameBytes) name.resize(kStoredModeNameBytes);
  modes_[mode - 1].name = std::move(name);
  return true;
}

bool ConsoleModel::RecallMode(int mode) {
  if (!IsValidMode(mode)) return false;
  const auto& snapshot = modes_[mode - 1].snapshot;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (BelongsToMode(a)) values_[a] = snapshot[a];
  }
  values_[address::kCurrentMode] = static_cast<std::uint16_t>(mode);
  return true;
}

bool ConsoleModel::StoreCurrentMode() {
  const int mode = values_[address::kCurrentMode];
  if (!IsValidMode(mode) || IsLocked(mode)) return false;
  modes_[mode - 1].snapshot = values_;
  return true;
}

bool ConsoleModel::RecallFxProgram(FxEngine engine, int program) {
  const auto record = FxRecord(engine, program);
  if (!record) return false;
  const ParamAddress current = FxCurrentWords(engine);
  for (int i = 0; i < kFxCurrentWordCount; ++i) values_[current + i] = values_[*record + i];
  values_[FxProgramNumber(engine)] = static_cast<std::uint16_t>(program);
  return true;
}

bool ConsoleModel::StoreFxProgram(FxEngine engine, int program) {
  const auto record = FxRecord(engine, program);
  if (!record) return false;
  const ParamAddress current = FxCurrentWords(engine);
  for (int i = 0; i < kFxCurrentWordCount; ++i) values_[*record + i] = values_[current + i];
  values_[FxProgramNumber(engine)] = static_cast<std::uint16_t>(program);
  return true;
}

bool ConsoleModel::BelongsToMode(ParamAddress address) {
  return !IsReadOnlyWord(address) && address <= kLastModeAddress;
}

std::optional<ParamAddress> ConsoleModel::FxRecord(FxEngine engine, int program) {
  if (program < 1 || program > kFxProgramCount) return std::nullopt;
  const bool factory = program <= kFactoryPrograms;
  const int first = engine == FxEngine::One ? (factory ? kEngineOneFactoryRecord : kEngineOneUserRecord)
                                            : (factory ? kEngineTwoFactoryRecord : kEngineTwoUserRecord);
  const int record = first + (factory ? program - 1 : program - kFactoryPrograms - 1);
  return static_cast<ParamAddress>(kFxLibrary + kFxRecordWords * record);
}

ParamAddress ConsoleModel::FxCurrentWords(FxEngine engine) {
  return engine == FxEngine::One ? address::kFx1ProgramType : address::kFx2ProgramType;
}

ParamAddress ConsoleModel::FxProgramNumber(FxEngine engine) {
  return engine == FxEngine::One ? address::kFx1Program : address::kFx2Program;
}

}  // namespace rmt4::emulator
