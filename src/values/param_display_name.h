#pragma once

#include <string>

#include "protocol/address_map.h"

namespace rmt4 {

/// What a person calls the parameter at `address`, from its catalogue name:
/// "CH3 fader", "CH7 EQ band 2 gain", "MAIN HPF frequency", "FX1 send to AUX2".
[[nodiscard]] std::string ParamDisplayName(ParamAddress address);

}  // namespace rmt4
