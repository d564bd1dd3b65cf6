#pragma once

#include <string>
#include <string_view>

namespace rmt4::ui {

/// The progress line: `format` with its one floating-point placeholder
/// (such as "%5.0f") filled with `percent`, "%%" as a percent sign. A format
/// with any other conversion is shown as it stands, so that a text from
/// outside (a mode name) can never be read as a format.
[[nodiscard]] std::string FormatProgressText(std::string_view format, double percent);

}  // namespace rmt4::ui
