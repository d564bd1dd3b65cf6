#include "dsp/band_field_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string>

namespace rmt4 {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Fixed-point text of `value`, independent of the locale. The precision is
/// bounded so that the largest double fits the buffer.
std::string FixedText(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed,
                                          std::clamp(decimals, 0, 17));
  // 309 integer digits, a sign, a point and 17 decimals always fit.
  if (error != std::errc{}) return {};
  std::string text(buffer.data(), end);
  // A value that rounds to zero shows as zero, whatever side it came from: no "-0.0".
  if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

std::string FormatBandField(BandField field, const BandFieldFormat& format, double value) {
  if (format.mode == BandFieldFormat::Mode::kFixedDecimals) return FixedText(value, format.width);
  int decimals = 6;
  if (field == BandField::kFrequency) decimals = value < 100.0 ? 1 : 0;
  std::string text = FixedText(value, decimals);
  const std::size_t limit = static_cast<std::size_t>(std::max(format.width, 0));
  if (text.size() >= limit) {
    text.resize(limit);
    if (!text.empty() && text.back() == '.') std::erase(text, '.');
  }
  return text;
}

std::optional<double> ParseBandFieldText(std::string_view text) {
  text = text.substr(0, kMaxBandFieldText);
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  // Only what users type as a number: digits with at most one decimal point,
  // then an optional exponent. Words such as "inf" and "nan" are no numbers.
  std::string number;
  const auto takeDigits = [&] {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) number += text[i++];
    return i > start;
  };
  bool anyDigit = takeDigits();
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    number += '.';
    ++i;
    anyDigit = takeDigits() || anyDigit;
  }
  if (!anyDigit) return std::nullopt;
  bool exponentUp = false;
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    const bool exponentDown = text[j] == '-';
    if (text[j] == '+' || text[j] == '-') ++j;
    if (j < text.size() && IsDigit(text[j])) {
      number += exponentDown ? "e-" : "e";
      i = j;
      takeDigits();
      exponentUp = !exponentDown;
    }
  }
  double value = 0.0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range) {
    // The mantissa is bounded, so only the exponent takes a number out of range.
    value = exponentUp ? std::numeric_limits<double>::max() : 0.0;
  }
  // 0.0 − value, not −value: "-0" reads as 0, not as a negative zero.
  return negative ? 0.0 - value : value;
}

}  // namespace rmt4
