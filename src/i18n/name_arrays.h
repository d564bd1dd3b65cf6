#pragma once

#include <array>

#include "i18n/label_id.h"

namespace rmt4 {

/// Input strip i (0..11) is named by row kInputChannelLabels[i].
inline constexpr std::array<LabelId, 12> kInputChannelLabels{
    LabelId::Ch1, LabelId::Ch2, LabelId::Ch3,    LabelId::Ch4,    LabelId::Ch5, LabelId::Ch6,
    LabelId::Ch7, LabelId::Ch8, LabelId::St9_10, LabelId::Digtal, LabelId::Fx1, LabelId::Fx2,
};

/// Output bus i (0 = MAIN, 1..6 = AUX1..AUX6) is named by row kOutputBusLabels[i].
inline constexpr std::array<LabelId, 7> kOutputBusLabels{
    LabelId::MainBus, LabelId::Aux1, LabelId::Aux2, LabelId::Aux3, LabelId::Aux4, LabelId::Aux5, LabelId::Aux6,
};

}  // namespace rmt4
