#pragma once

#include <string>
#include <string_view>

#include "i18n/label_id.h"

namespace rmt4 {

/// A label row that is a printf format with one floating-point conversion
/// (such as "Delay:   %3.1fms"), filled with `value`, in the current language.
[[nodiscard]] std::string FormatLabel(LabelId format, double value);

/// The same for a row with one integer conversion (such as "HPF: %4dHz").
[[nodiscard]] std::string FormatLabel(LabelId format, int value);
/// The same for a row with two.
[[nodiscard]] std::string FormatLabel(LabelId format, int first, int second);

/// The same for a row with one "%s", filled with `text` as it is (a typed or
/// outside text may hold "%" itself).
[[nodiscard]] std::string FormatLabel(LabelId format, std::string_view text);

}  // namespace rmt4
