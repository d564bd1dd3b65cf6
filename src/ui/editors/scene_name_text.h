#pragma once

#include "files/scene_name.h"
#include "i18n/label_id.h"

namespace rmt4::ui {

/// What the user reads when a typed scene name is refused.
[[nodiscard]] LabelId SceneNameFaultText(SceneNameFault fault);

}  // namespace rmt4::ui
