#pragma once

#include <string>
#include <string_view>

#include "protocol/address_map.h"

namespace rmt4 {

/// What a person calls the parameter at `address`, from its catalogue name:
/// "CH3 fader", "CH7 EQ band 2 gain", "MAIN HPF frequency", "FX1 send to AUX2".
[[nodiscard]] std::string ParamDisplayName(ParamAddress address);
/// The same for any catalogue or bit name: "ch1.48v" reads "CH1 48V".
[[nodiscard]] std::string DisplayName(std::string_view name);

}  // namespace rmt4
