#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/param_table.h"

namespace rmt4::ui {

/// Which control of a strip a ControlEdited notification or an ApplyValue call
/// is about (the lParam of ControlEdited).
enum class StripCode : int {
  Enter = 0,
  Mute = 1,
  Pfl = 2,
  Phantom48V = 3,
  Left = 4,
  Right = 5,
  Pan = 6,
  Fader = 7,
  Bus = 8,  ///< output strip only: another bus was selected
};

inline constexpr int kInputStripCount = 12;
inline constexpr int kFx1Strip = 10;
inline constexpr int kFx2Strip = 11;
/// The output strip's index in ControlEdited's wParam.
inline constexpr int kOutputStrip = 12;
/// Output buses: 0 MAIN, 1..6 AUX1..AUX6.
inline constexpr int kOutputBusCount = 7;

/// The raw values the strips' ReadControl speaks in.
inline constexpr int kRoutedLevel = 1300;  ///< PFL or routing on
/// The output strip reads its PFL button as 0 while pressed, 1300 while released.
inline constexpr int kOutputPflPressedReading = 0;

/// One value a strip control must show.
struct StripUpdate {
  int strip = 0;  ///< 0..11 input strips, kOutputStrip
  StripCode code = StripCode::Enter;
  int value = 0;
  friend bool operator==(const StripUpdate&, const StripUpdate&) = default;
};

/// Stores the edit of input strip `strip` (0..11) whose control `code` now
/// reads `reading` (its ReadControl value). ENTER and codes without a
/// parameter on that strip write nothing.
void WriteInputStripEdit(ParamTable& table, int strip, StripCode code, int reading);

/// Stores the edit of the output strip, showing bus `bus`, whose control
/// `code` now reads `reading`. ENTER and a bus change write nothing.
void WriteOutputStripEdit(ParamTable& table, int bus, StripCode code, int reading);

/// What the strips show of `address` holding `value` while the output strip
/// shows bus `selectedBus`, in the order the controls are to be updated.
/// The meter word is not among them (see values/meter_levels.h).
[[nodiscard]] std::vector<StripUpdate> StripUpdatesFor(ParamAddress address, std::uint16_t value, int selectedBus);

/// The catalogue or bit name control `code` of strip `strip` stands for
/// while the output strip shows bus `bus` ("ch3.fader", "sys.pfl.aux2");
/// empty for ENTER, a bus change and controls that strip has no parameter for.
[[nodiscard]] std::string StripParamName(int strip, StripCode code, int bus);

/// Everything the output strip shows for bus `bus`, from the table.
[[nodiscard]] std::vector<StripUpdate> OutputBusUpdates(const ParamTable& table, int bus);

}  // namespace rmt4::ui
