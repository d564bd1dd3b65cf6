#pragma once

#include <string>
#include <string_view>

#include "i18n/language.h"
#include "protocol/address_map.h"

namespace rmt4 {

/// What a person calls the parameter at `address`, from its catalogue name:
/// "CH3 fader", "CH7 EQ band 2 gain", "MAIN HPF frequency", "FX1 send to AUX2".
[[nodiscard]] std::string ParamDisplayName(ParamAddress address);
/// The same for any catalogue or bit name: "ch1.48v" reads "CH1 48V".
[[nodiscard]] std::string DisplayName(std::string_view name);
/// The same in `language`: channel and bus names stay as they are ("CH3",
/// "AUX2", "EQ"), the words between them are translated ("CH3 推子").
[[nodiscard]] std::string DisplayName(std::string_view name, LanguageIndex language);

}  // namespace rmt4
