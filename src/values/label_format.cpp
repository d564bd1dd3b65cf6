#include "values/label_format.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "i18n/label_text.h"

namespace rmt4 {
namespace {

// The rows are compiled-in table entries, never outside text, and every
// language of a row takes the same arguments.
template <typename... Numbers>
std::string Format(LabelId id, Numbers... values) {
  const std::string format(LabelText(id));
  char text[128];
  const int length = std::snprintf(text, sizeof text, format.c_str(), values...);
  if (length < 0) return format;
  return std::string(text, std::min(static_cast<std::size_t>(length), sizeof text - 1));
}

}  // namespace

std::string FormatLabel(LabelId format, double value) { return Format(format, value); }

std::string FormatLabel(LabelId format, int value) { return Format(format, value); }

std::string FormatLabel(LabelId format, int first, int second) { return Format(format, first, second); }

std::string FormatLabel(LabelId format, std::string_view text) {
  std::string filled(LabelText(format));
  if (const std::size_t at = filled.find("%s"); at != std::string::npos) filled.replace(at, 2, text);
  return filled;
}

}  // namespace rmt4
