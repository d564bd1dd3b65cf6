#include "values/param_bits.h"

#include <algorithm>

#include "values/editor_addresses.h"
#include "values/input_editor_conversions.h"
#include "values/typed_text.h"
#include "values/value_kinds.h"

namespace rmt4 {
namespace {

constexpr std::string_view kOn = "ON";
constexpr std::string_view kOff = "OFF";
constexpr std::string_view kLinkedSuffix = ".linked";
constexpr std::string_view kRatioSuffix = "ratio";

/// The bit names over one catalogue entry (a linked twin is written through its first).
void AddBitsOf(const ParamInfo& info, std::vector<BitParam>& bits) {
  if (info.name.ends_with(kLinkedSuffix)) return;
  switch (info.kind) {
    case ValueKind::kSwitches:
      bits.push_back({info.channel + ".48v", info.address, kPhantomPowerBit, kOn, kOff});
      break;
    case ValueKind::kAuxSend:
      bits.push_back({info.name + ".pre", info.address, kPreFaderFlag, "pre", "post"});
      break;
    case ValueKind::kRatio:
      // "comp.ratio" → "comp": the compressor's switch, worded as the ratio's reading words it.
      bits.push_back({info.name.substr(0, info.name.size() - kRatioSuffix.size() - 1), info.address,
                      kCompressorOffFlag, "off", "on", false});
      break;
    case ValueKind::kPflBus:
      for (const CodeWord& bit : kPflBusBits) {
        bits.push_back({info.name + "." + Lower(bit.word), info.address, bit.code, kOn, kOff});
      }
      break;
    default:
      break;
  }
}

std::vector<BitParam> BuildBitParams() {
  std::vector<BitParam> bits;
  for (const ParamInfo& info : ParamCatalogue()) AddBitsOf(info, bits);
  return bits;
}

bool Flag(const BitParam& bits) { return bits.setWord == kOn; }

}  // namespace

std::span<const BitParam> BitParams() {
  static const std::vector<BitParam> bits = BuildBitParams();
  return bits;
}

const BitParam* FindBitParam(std::string_view name) {
  if (HasWildcard(name)) return nullptr;
  const auto all = BitParams();
  const auto found =
      std::find_if(all.begin(), all.end(), [&](const BitParam& b) { return EqualsIgnoringCase(b.name, name); });
  return found == all.end() ? nullptr : &*found;
}

std::vector<const BitParam*> MatchBitParams(std::string_view pattern) {
  std::vector<const BitParam*> found;
  for (const BitParam& bits : BitParams()) {
    if (NameMatches(pattern, bits.name)) found.push_back(&bits);
  }
  return found;
}

std::vector<const BitParam*> BitParamsAt(ParamAddress address) {
  std::vector<const BitParam*> found;
  for (const BitParam& bits : BitParams()) {
    if (bits.address == address) found.push_back(&bits);
  }
  return found;
}

int BitsNumber(const BitParam& bits, std::uint16_t raw) { return ((raw & bits.mask) != 0) == bits.setIsOn ? 1 : 0; }

std::uint16_t BitsFor(const BitParam& bits, bool on) { return on == bits.setIsOn ? bits.mask : 0; }

std::string FormatBits(const BitParam& bits, std::uint16_t raw) {
  return std::string((raw & bits.mask) != 0 ? bits.setWord : bits.clearWord);
}

std::string BitRangeText(const BitParam& bits) {
  return std::string(bits.setWord) + "|" + std::string(bits.clearWord);
}

ParsedValue ParseBits(const BitParam& bits, std::string_view text) {
  const std::string typed = Lower(Trimmed(text));
  std::optional<bool> set;
  if (Flag(bits)) {
    set = OnOffWord(typed);
  } else if (EqualsIgnoringCase(bits.setWord, typed)) {
    set = true;
  } else if (EqualsIgnoringCase(bits.clearWord, typed)) {
    set = false;
  }
  if (!set) {
    return {std::nullopt, bits.name + ": not one of its words ('" + std::string(Trimmed(text)) + "'); it takes " +
                              BitRangeText(bits)};
  }
  return {static_cast<std::uint16_t>(*set ? bits.mask : 0), {}, bits.mask};
}

}  // namespace rmt4
