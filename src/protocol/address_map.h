#pragma once

#include <cstddef>
#include <cstdint>

namespace rmt4 {

/// A parameter address of the console, 0..kParamCount-1.
using ParamAddress = std::uint16_t;

inline constexpr std::size_t kParamCount = 1574;

[[nodiscard]] constexpr bool IsValidAddress(unsigned address) { return address < kParamCount; }

/// Addresses with a fixed role in the protocol or in several windows.
namespace address {
inline constexpr ParamAddress kDeviceType = 0;
inline constexpr ParamAddress kLevelMeters = 7;
inline constexpr ParamAddress kFx1Program = 26;
inline constexpr ParamAddress kFx2Program = 27;
inline constexpr ParamAddress kRecordingDevice = 29;
inline constexpr ParamAddress kMainBus = 970;  // MAIN fader
inline constexpr ParamAddress kMainBusLinked = 1038;
inline constexpr ParamAddress kMainOn = 972;  // MAIN switched on
inline constexpr ParamAddress kMainOnLinked = 1040;
inline constexpr ParamAddress kMainLeftDelay = 973;
inline constexpr ParamAddress kMainRightDelay = 1041;
inline constexpr ParamAddress kMainBalance = 1106;
inline constexpr ParamAddress kPflBus = 1108;
inline constexpr ParamAddress kFx1ProgramType = 1142;
inline constexpr ParamAddress kFx2ProgramType = 1179;
inline constexpr ParamAddress kChannelSelect = 1184;
inline constexpr ParamAddress kCurrentMode = 1204;
inline constexpr ParamAddress kModeOperation = 1205;
inline constexpr ParamAddress kKeepAlive = 1206;
inline constexpr ParamAddress kSystemNoiseGate = 1207;
inline constexpr ParamAddress kFootSwitch = 1212;
}  // namespace address

/// Words the console reports but does not store: its device type is fixed and
/// its level meters are measured. A write never changes them.
[[nodiscard]] constexpr bool IsReadOnlyWord(ParamAddress address) {
  return address == address::kDeviceType || address == address::kLevelMeters;
}

/// The device type of the supported console, at address 0 and in the DeviceQuery reply.
inline constexpr std::uint16_t kSupportedDeviceType = 20024;

inline constexpr int kInputBlockSize = 43;
inline constexpr int kBusBlockSize = 68;
inline constexpr int kAuxBusCount = 6;

/// First address of input channel c: 0..7 CH1..CH8, 8 ST9/10, 9 DIGTAL.
/// DIGTAL lives in the console's eleventh block; the tenth is shown by no window.
[[nodiscard]] constexpr ParamAddress InputBlockBase(int channel) {
  const int block = channel == 9 ? 10 : channel;
  return static_cast<ParamAddress>(46 + kInputBlockSize * block);
}

/// The output buses: AUX1..AUX6 and MAIN.
enum class Bus : std::uint8_t { Aux1 = 1, Aux2, Aux3, Aux4, Aux5, Aux6, Main };

/// First address of a bus block; every bus block has the same layout.
[[nodiscard]] constexpr ParamAddress BusBlockBase(Bus bus) {
  if (bus == Bus::Main) return address::kMainBus;
  return static_cast<ParamAddress>(562 + kBusBlockSize * (static_cast<int>(bus) - 1));
}

/// The value the table holds for an address before the console has answered;
/// 0 for addresses outside the table.
[[nodiscard]] std::uint16_t DefaultValue(ParamAddress address);

}  // namespace rmt4
