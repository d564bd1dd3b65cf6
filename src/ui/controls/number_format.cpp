#include "ui/controls/number_format.h"

#include <algorithm>
#include <cstdio>

namespace rmt4::ui {
namespace {

constexpr std::string_view kFlags = "-+ #0";
constexpr std::string_view kFloatConversions = "fFeEgG";
constexpr int kMaxDigits = 2;  // width and precision stay small

bool IsDigit(std::string_view text, std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; }

/// Skips a run of digits; false when it is longer than kMaxDigits.
bool SkipDigits(std::string_view text, std::size_t& i) {
  int count = 0;
  for (; IsDigit(text, i); ++i) ++count;
  return count <= kMaxDigits;
}

/// Whether `format` holds at most one floating-point conversion and otherwise only "%%".
bool IsSafeFormat(std::string_view format) {
  int conversions = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    if (i < format.size() && format[i] == '%') continue;
    while (i < format.size() && kFlags.find(format[i]) != std::string_view::npos) ++i;
    if (!SkipDigits(format, i)) return false;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!SkipDigits(format, i)) return false;
    }
    if (i >= format.size() || kFloatConversions.find(format[i]) == std::string_view::npos) return false;
    if (++conversions > 1) return false;
  }
  return true;
}

}  // namespace

std::string FormatNumber(std::string_view format, double value) {
  std::string text(format);
  // An embedded NUL would end the format early; such a text is shown as it stands.
  if (text.find('\0') != std::string::npos || !IsSafeFormat(format)) return text;
  char line[512];
  const int length = std::snprintf(line, sizeof line, text.c_str(), value);
  if (length < 0) return text;
  return std::string(line, static_cast<std::size_t>(std::min<int>(length, sizeof line - 1)));
}

}  // namespace rmt4::ui
