#include "values/named_value_text.h"

namespace rmt4 {

std::string ValueText(ParamAddress address, std::uint16_t value, const ValueAt& valueAt, const BitParam* bits) {
  return bits ? FormatBits(*bits, value) : FormatValue(address, value, valueAt);
}

std::optional<std::string> NamedValueText(std::string_view name, const ValueAt& valueAt) {
  if (const BitParam* bits = FindBitParam(name)) return ValueText(bits->address, valueAt(bits->address), valueAt, bits);
  const std::optional<ParamAddress> address = FindParam(name);
  if (!address) return std::nullopt;
  return ValueText(*address, valueAt(*address), valueAt);
}

}  // namespace rmt4
