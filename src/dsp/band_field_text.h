#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

/// The three entry fields of an EQ band, in the order the band panel stacks
/// them and reports them to its host.
enum class BandField : int { kGain = 0, kFrequency = 1, kQ = 2 };

/// How a field shows its value.
struct BandFieldFormat {
  enum class Mode { kFixedDecimals, kCharacterLimit };
  Mode mode;
  /// Decimals (kFixedDecimals) or the most characters shown (kCharacterLimit).
  int width;
};

/// The longest field text that is looked at; typed text beyond it is ignored.
inline constexpr std::size_t kMaxBandFieldText = 32;

/// The text a field shows for `value`. Fixed decimals: "%.<width>f".
/// Character limit: the frequency in tenths below 100 Hz and whole hertz
/// above, any other field with six decimals, then cut to `width` characters
/// with a dangling "." dropped (Q 0.4 → "0.40", 128 → "128", 20600 Hz → "20600").
/// Always with "." as decimal point, whatever the process locale.
[[nodiscard]] std::string FormatBandField(BandField field, const BandFieldFormat& format, double value);

/// The number at the start of a typed field text, read like a decimal number
/// the way atof reads it (leading blanks skipped, trailing text ignored) from
/// its first kMaxBandFieldText characters. A comma counts as the decimal
/// point, since users of comma-decimal locales type "3,5" for 3.5. Text that
/// does not start with a number, "nan" and "inf" included, is none: the
/// field keeps its value rather than take one the user never typed. A
/// number too large for a double reads as the largest finite one of its
/// sign, so a result is always finite.
[[nodiscard]] std::optional<double> ParseBandFieldText(std::string_view text);

}  // namespace rmt4
