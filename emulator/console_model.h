#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emulator/meter_simulator.h"
#include "protocol/address_map.h"

namespace rmt4::emulator {

inline constexpr int kConsoleModeCount = 12;
inline constexpr int kFxProgramCount = 36;
/// Mode names travel as 20 bytes when stored and at most 25 when read.
inline constexpr std::size_t kStoredModeNameBytes = 20;

/// The two effect engines; their current program sits at 1142..1144 and 1179..1181.
enum class FxEngine : std::uint8_t { One = 1, Two = 2 };

/// Everything the console holds, without any wire format: 1574 parameters,
/// twelve modes (name and snapshot), the effect-program library and the
/// level meters. Not thread-safe; the responder serialises access.
class ConsoleModel {
 public:
  ConsoleModel(std::uint16_t deviceType, std::uint32_t modeLockMask, std::uint32_t seed);

  [[nodiscard]] std::uint16_t Value(ParamAddress address) const { return values_[address]; }

  /// A value written by the PC; returns the value actually stored, which
  /// differs for the read-only words (device type, meters).
  std::uint16_t Write(ParamAddress address, std::uint16_t value);
  /// A change made on the console itself (a fader moved): stored as given.
  void SetFromConsole(ParamAddress address, std::uint16_t value) { values_[address] = value; }

  /// Values the console starts from (a scene), stored as the PC's writes would be;
  /// values beyond the parameter table are ignored.
  void Load(std::span<const std::uint16_t> values);

  /// The meter word after one more poll; silent while the MAIN bus is off or down.
  std::uint16_t PollMeters();
  /// No sound reaches the console: every poll reads silence.
  void SilenceMeters() { metersSilenced_ = true; }

  [[nodiscard]] static bool IsValidMode(int mode) { return mode >= 1 && mode <= kConsoleModeCount; }
  [[nodiscard]] bool IsLocked(int mode) const { return ((modeLockMask_ >> (mode % 32)) & 1u) != 0; }
  [[nodiscard]] std::uint32_t ModeLockMask() const { return modeLockMask_; }
  [[nodiscard]] std::uint16_t DeviceType() const { return values_[address::kDeviceType]; }

  [[nodiscard]] const std::vector<std::uint8_t>& ModeName(int mode) const { return modes_[mode - 1].name; }
  /// False for an invalid or locked mode: a locked mode cannot be renamed or overwritten.
  bool StoreModeName(int mode, std::vector<std::uint8_t> name);
  /// Loads the mode's snapshot and makes it the current mode.
  bool RecallMode(int mode);
  /// Saves the mix into the current mode.
  bool StoreCurrentMode();

  /// Loads a program from the library into the engine's three current words.
  bool RecallFxProgram(FxEngine engine, int program);
  /// Saves the engine's three current words into the library.
  bool StoreFxProgram(FxEngine engine, int program);

 private:
  struct Mode {
    std::vector<std::uint8_t> name;
    std::array<std::uint16_t, kParamCount> snapshot{};
  };

  [[nodiscard]] static bool BelongsToMode(ParamAddress address);
  [[nodiscard]] static std::optional<ParamAddress> FxRecord(FxEngine engine, int program);
  /// Where the engine's current program type and its two parameters are.
  [[nodiscard]] static ParamAddress FxCurrentWords(FxEngine engine);
  /// Where the console keeps the engine's current program number (26 or 27).
  [[nodiscard]] static ParamAddress FxProgramNumber(FxEngine engine);

  std::array<std::uint16_t, kParamCount> values_{};
  std::array<Mode, kConsoleModeCount> modes_{};
  std::uint32_t modeLockMask_;
  MeterSimulator meters_;
  bool metersSilenced_ = false;
};

}  // namespace rmt4::emulator
