#include "values/param_numbers.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "values/value_kinds.h"

namespace rmt4 {
namespace {

const NumberMeaning& NumbersOf(ParamAddress address) { return MeaningOf(ParamAt(address).kind).number; }

/// A number as a refusal quotes it.
std::string Quoted(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", number);
  return text;
}

ParsedValue Refused(ParamAddress address, std::string why, double number) {
  return NamingRefusal(address, {std::nullopt, std::move(why)}, Quoted(number));
}

/// `parsed` writing only the bits its kind's numbers own.
ParsedValue Owned(ParsedValue parsed, const NumberMeaning& numbers) {
  if (parsed.raw) parsed.ownBits = numbers.own;
  return parsed;
}

}  // namespace

bool HasContinuousRange(ParamAddress address) {
  return IsValidAddress(address) && NumbersOf(address).of != nullptr && NumbersOf(address).continuous;
}

std::optional<ParamNumber> NumberOf(ParamAddress address, std::uint16_t raw) {
  if (!IsValidAddress(address) || !NumbersOf(address).of) return std::nullopt;
  const NumberMeaning& numbers = NumbersOf(address);
  const std::optional<double> number = numbers.of(raw);
  if (!number) return std::nullopt;
  return ParamNumber{*number, numbers.whole};
}

ParsedValue ValueFromNumber(ParamAddress address, double number) {
  if (!IsValidAddress(address)) return {std::nullopt, "no such address: " + std::to_string(address)};
  const NumberMeaning& numbers = NumbersOf(address);
  if (!numbers.from) return Refused(address, "not a number it takes", number);
  return NamingRefusal(address, Owned(numbers.from(number), numbers), Quoted(number));
}

std::optional<double> NormalisedOf(ParamAddress address, std::uint16_t raw) {
  if (!IsValidAddress(address) || !NumbersOf(address).stepOf) return std::nullopt;
  const NumberMeaning& numbers = NumbersOf(address);
  const std::optional<int> step = numbers.stepOf(raw);
  if (!step) return std::nullopt;
  return static_cast<double>(*step) / numbers.top();
}

ParsedValue ValueFromNormalised(ParamAddress address, double normalised) {
  if (!IsValidAddress(address)) return {std::nullopt, "no such address: " + std::to_string(address)};
  const NumberMeaning& numbers = NumbersOf(address);
  if (!numbers.rawAt) return Refused(address, "not a number it takes", normalised);
  if (!(normalised >= 0 && normalised <= 1)) return Refused(address, "not a position 0..1", normalised);
  const int step = static_cast<int>(std::lround(normalised * numbers.top()));
  return Owned({numbers.rawAt(step), {}}, numbers);
}

}  // namespace rmt4
