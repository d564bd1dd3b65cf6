#pragma once

#include <QString>

#include "i18n/label_id.h"

namespace rmt4::ui {

/// The label table row in the current language.
[[nodiscard]] QString Translated(LabelId id);

}  // namespace rmt4::ui
