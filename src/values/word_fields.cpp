#include "values/word_fields.h"

#include <initializer_list>

#include "values/editor_addresses.h"
#include "values/input_editor_conversions.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

// The PC's PFL word: the listening bits, and bit 15 the console keeps.
constexpr std::uint16_t kPflConsoleBit = 0x8000;
// MAIN in the PFL bus word: bit 7 always follows bit 6.
constexpr std::uint16_t kPflBusMainBits = 0x00C0;

std::uint16_t Fields(std::uint16_t differing, std::initializer_list<std::uint16_t> fields) {
  std::uint16_t changed = 0;
  std::uint16_t rest = 0xFFFF;
  for (std::uint16_t field : fields) {
    if ((differing & field) != 0) changed |= field;
    rest = static_cast<std::uint16_t>(rest & ~field);
  }
  if ((differing & rest) != 0) changed |= rest;
  return changed;
}

/// Each bus of the PFL bus word is a thing of its own.
std::uint16_t PflBusFields(std::uint16_t differing) {
  std::uint16_t changed = (differing & kPflBusMainBits) != 0 ? kPflBusMainBits : 0;
  for (int bit = 0; bit < 16; ++bit) {
    const auto mask = static_cast<std::uint16_t>(1u << bit);
    if ((mask & kPflBusMainBits) == 0 && (differing & mask) != 0) changed |= mask;
  }
  return changed;
}

}  // namespace

std::uint16_t ChangedFields(ParamAddress address, std::uint16_t before, std::uint16_t after) {
  const auto differing = static_cast<std::uint16_t>(before ^ after);
  if (differing == 0) return 0;
  switch (ParamAt(address).kind) {
    case ValueKind::kSwitches:
      return Fields(differing, {kChannelOnBit, kPhantomPowerBit});
    case ValueKind::kSwitchesNo48V:
      return Fields(differing, {kChannelOnBit});
    case ValueKind::kAuxSend:
      return Fields(differing, {kPreFaderFlag});
    case ValueKind::kPfl:
      return Fields(differing, {kPflConsoleBit});
    case ValueKind::kRatio:
      return Fields(differing, {kCompressorOffFlag});
    case ValueKind::kPflBus:
      return PflBusFields(differing);
    default:
      return 0xFFFF;
  }
}

}  // namespace rmt4
