#pragma once

#include <string>
#include <string_view>

namespace rmt4::ui {

/// `format` with its one floating-point placeholder (such as "%5.0f" or
/// "%0.1f") filled with `value`, "%%" as a percent sign. A format with any
/// other conversion, more than one, or a width or precision over two digits
/// is returned as it stands: these texts come from tables and the link
/// layer, and a stray conversion must never reach printf.
[[nodiscard]] std::string FormatNumber(std::string_view format, double value);

}  // namespace rmt4::ui
