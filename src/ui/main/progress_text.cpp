#include "ui/main/progress_text.h"

#include <cctype>
#include <cstdio>

namespace rmt4::ui {
namespace {

/// Whether `format` holds at most one %f/%e/%g conversion and otherwise only "%%".
bool IsSafeFormat(std::string_view format) {
  int conversions = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    if (i < format.size() && format[i] == '%') continue;
    while (i < format.size() && (format[i] == '-' || format[i] == '+' || format[i] == ' ' || format[i] == '0' ||
                                 format[i] == '#')) {
      ++i;
    }
    int digits = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) && digits < 3) ++i, ++digits;
    if (i < format.size() && format[i] == '.') {
      ++i;
      digits = 0;
      while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) && digits < 2) ++i, ++digits;
    }
    if (i >= format.size()) return false;
    const char type = format[i];
    if (type != 'f' && type != 'e' && type != 'g' && type != 'F' && type != 'E' && type != 'G') return false;
    if (++conversions > 1) return false;
  }
  return true;
}

}  // namespace

std::string FormatProgressText(std::string_view format, double percent) {
  const std::string text(format);
  if (!IsSafeFormat(format)) return text;
  char line[512];
  const int length = std::snprintf(line, sizeof line, text.c_str(), percent);
  if (length < 0) return text;
  return std::string(line, static_cast<std::size_t>(std::min<int>(length, sizeof line - 1)));
}

}  // namespace rmt4::ui
