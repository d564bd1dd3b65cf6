#include "ui/main/strip_mapping.h"

#include <array>
#include <optional>
#include <string>

#include "values/control_param_names.h"
#include "values/level_table.h"
#include "values/own_bits.h"

namespace rmt4::ui {
namespace {

// Offsets inside an input channel's block.
constexpr int kSwitchesOffset = 0;
constexpr int kPanOffset = 3;
constexpr int kFaderOffset = 4;
constexpr int kLeftOffset = 11;
constexpr int kRightOffset = 12;
constexpr int kPflOffset = 13;
constexpr int kPflCompanionOffset = 14;

// Bits of the switches word (offset 0).
constexpr std::uint16_t kPhantomBit = 0x0001;
constexpr std::uint16_t kChannelOnBit = 0x0008;
// Bit 15 of the PFL word belongs to the console; an edit keeps it.
constexpr std::uint16_t kPflKeptBit = 0x8000;

// The mixing channels with a block of their own: CH1..CH8, ST9/10, DIGTAL.
constexpr int kBlockStripCount = kFx1Strip;

struct EffectReturn {
  ParamAddress fader;
  ParamAddress on;
  std::uint16_t pflBit;  // in the PFL bus word
};
constexpr std::array<EffectReturn, 2> kEffectReturns{{{1110, 1111, 0x0100}, {1147, 1148, 0x0200}}};

constexpr std::uint16_t kMainPflBit = 0x0040;
// Offsets inside a bus block.
constexpr int kBusOnOffset = 2;
constexpr int kBusLeftOffset = 9;
constexpr int kBusRightOffset = 10;

struct BusAddresses {
  ParamAddress fader;
  ParamAddress on;
  std::optional<ParamAddress> left;  // AUX buses only: routing to MAIN L/R
  std::optional<ParamAddress> right;
  std::uint16_t pflBit;
};

bool IsBus(int bus) { return bus >= 0 && bus < kOutputBusCount; }

BusAddresses AddressesOfBus(int bus) {
  if (bus == 0) return {address::kMainBus, address::kMainOn, std::nullopt, std::nullopt, kMainPflBit};
  const ParamAddress base = BusBlockBase(static_cast<Bus>(bus));
  return {base, static_cast<ParamAddress>(base + kBusOnOffset), static_cast<ParamAddress>(base + kBusLeftOffset),
          static_cast<ParamAddress>(base + kBusRightOffset), static_cast<std::uint16_t>(1U << (bus - 1))};
}

ParamAddress At(ParamAddress base, int offset) { return static_cast<ParamAddress>(base + offset); }

void SetBits(ParamTable& table, ParamAddress address, std::uint16_t bits, bool set) {
  (void)StoreOwnBits(table, address, set ? bits : 0, bits);
}

void WriteEffectReturnEdit(ParamTable& table, const EffectReturn& fx, StripCode code, int reading) {
  switch (code) {
    case StripCode::Mute:
      // The MUTE button reads 1 when pressed; the console stores "on".
      ParamSet(table, fx.on, static_cast<std::uint16_t>(reading ^ 1));
      break;
    case StripCode::Pfl:
      SetBits(table, address::kPflBus, fx.pflBit, reading != 0);
      break;
    case StripCode::Fader:
      ParamSet(table, fx.fader, static_cast<std::uint16_t>(reading));
      break;
    default:
      break;
  }
}

void WriteChannelEdit(ParamTable& table, ParamAddress base, StripCode code, int reading) {
  const auto value = static_cast<std::uint16_t>(reading);
  switch (code) {
    case StripCode::Mute:
      SetBits(table, base, kChannelOnBit, reading != 1);
      break;
    case StripCode::Phantom48V:
      SetBits(table, base, kPhantomBit, reading == 1);
      break;
    case StripCode::Pfl:
      (void)StoreOwnBits(table, At(base, kPflOffset), value, static_cast<std::uint16_t>(~kPflKeptBit),
                         At(base, kPflCompanionOffset));
      break;
    case StripCode::Left:
      ParamSet(table, At(base, kLeftOffset), value);
      break;
    case StripCode::Right:
      ParamSet(table, At(base, kRightOffset), value);
      break;
    case StripCode::Pan:
      ParamSet(table, At(base, kPanOffset), value);
      break;
    case StripCode::Fader:
      ParamSet(table, At(base, kFaderOffset), value);
      break;
    default:
      break;
  }
}

void AddChannelUpdates(std::vector<StripUpdate>& updates, ParamAddress address, std::uint16_t value) {
  for (int strip = 0; strip < kBlockStripCount; ++strip) {
    const int offset = static_cast<int>(address) - static_cast<int>(InputBlockBase(strip));
    switch (offset) {
      case kSwitchesOffset:
        updates.push_back({strip, StripCode::Phantom48V, value & kPhantomBit});
        updates.push_back({strip, StripCode::Mute, value & kChannelOnBit});
        break;
      case kPanOffset:
        updates.push_back({strip, StripCode::Pan, value});
        break;
      case kFaderOffset:
        updates.push_back({strip, StripCode::Fader, value});
        break;
      case kLeftOffset:
        updates.push_back({strip, StripCode::Left, value});
        break;
      case kRightOffset:
        updates.push_back({strip, StripCode::Right, value});
        break;
      case kPflOffset:
        updates.push_back({strip, StripCode::Pfl, value & kLevelMask});
        break;
      default:
        break;
    }
  }
}

void AddEffectReturnUpdates(std::vector<StripUpdate>& updates, ParamAddress address, std::uint16_t value) {
  for (int which = 0; which < static_cast<int>(kEffectReturns.size()); ++which) {
    const EffectReturn& fx = kEffectReturns[static_cast<std::size_t>(which)];
    const int strip = kFx1Strip + which;
    if (address == fx.fader) updates.push_back({strip, StripCode::Fader, value});
    if (address == fx.on) updates.push_back({strip, StripCode::Mute, value});
    if (address == address::kPflBus) updates.push_back({strip, StripCode::Pfl, value & fx.pflBit});
  }
}

void AddOutputUpdates(std::vector<StripUpdate>& updates, ParamAddress address, std::uint16_t value, int bus) {
  if (address == address::kMainBalance) updates.push_back({kOutputStrip, StripCode::Pan, value});
  if (!IsBus(bus)) return;
  // Bus addresses reach the strip only while their bus is the one shown.
  const BusAddresses shown = AddressesOfBus(bus);
  if (address == address::kPflBus) updates.push_back({kOutputStrip, StripCode::Pfl, value & shown.pflBit});
  if (address == shown.on) updates.push_back({kOutputStrip, StripCode::Mute, value});
  if (address == shown.fader) updates.push_back({kOutputStrip, StripCode::Fader, value});
  if (address == shown.left) updates.push_back({kOutputStrip, StripCode::Left, value});
  if (address == shown.right) updates.push_back({kOutputStrip, StripCode::Right, value});
}

std::string EffectReturnParamName(const EffectReturn& fx, StripCode code) {
  switch (code) {
    case StripCode::Mute:
      return ParamNameOf(fx.on);
    case StripCode::Pfl:
      return BitNameAt(address::kPflBus, fx.pflBit);
    case StripCode::Fader:
      return ParamNameOf(fx.fader);
    default:
      return {};
  }
}

std::string ChannelParamName(ParamAddress base, StripCode code) {
  switch (code) {
    case StripCode::Mute:
      return ParamNameOf(base);
    case StripCode::Phantom48V:
      return BitNameAt(base, kPhantomBit);
    case StripCode::Pfl:
      return ParamNameOf(At(base, kPflOffset));
    case StripCode::Left:
      return ParamNameOf(At(base, kLeftOffset));
    case StripCode::Right:
      return ParamNameOf(At(base, kRightOffset));
    case StripCode::Pan:
      return ParamNameOf(At(base, kPanOffset));
    case StripCode::Fader:
      return ParamNameOf(At(base, kFaderOffset));
    default:
      return {};
  }
}

std::string OutputParamName(int bus, StripCode code) {
  if (!IsBus(bus)) return {};
  const BusAddresses shown = AddressesOfBus(bus);
  switch (code) {
    case StripCode::Mute:
      return ParamNameOf(shown.on);
    case StripCode::Pfl:
      return BitNameAt(address::kPflBus, shown.pflBit);
    case StripCode::Left:
      return ParamNameOf(shown.left);
    case StripCode::Right:
      return ParamNameOf(shown.right);
    case StripCode::Pan:
      return bus == 0 ? ParamNameOf(address::kMainBalance) : std::string();
    case StripCode::Fader:
      return ParamNameOf(shown.fader);
    default:
      return {};
  }
}

}  // namespace

std::string StripParamName(int strip, StripCode code, int bus) {
  if (strip == kOutputStrip) return OutputParamName(bus, code);
  if (strip == kFx1Strip || strip == kFx2Strip) {
    return EffectReturnParamName(kEffectReturns[static_cast<std::size_t>(strip - kFx1Strip)], code);
  }
  if (strip >= 0 && strip < kBlockStripCount) return ChannelParamName(InputBlockBase(strip), code);
  return {};
}

void WriteInputStripEdit(ParamTable& table, int strip, StripCode code, int reading) {
  if (strip == kFx1Strip || strip == kFx2Strip) {
    WriteEffectReturnEdit(table, kEffectReturns[static_cast<std::size_t>(strip - kFx1Strip)], code, reading);
  } else if (strip >= 0 && strip < kBlockStripCount) {
    WriteChannelEdit(table, InputBlockBase(strip), code, reading);
  }
}

void WriteOutputStripEdit(ParamTable& table, int bus, StripCode code, int reading) {
  if (!IsBus(bus)) return;
  const BusAddresses shown = AddressesOfBus(bus);
  const auto value = static_cast<std::uint16_t>(reading);
  switch (code) {
    case StripCode::Mute:
      ParamSet(table, shown.on, value);
      break;
    case StripCode::Pfl:
      SetBits(table, address::kPflBus, shown.pflBit, reading == kOutputPflPressedReading);
      break;
    case StripCode::Left:
      if (shown.left) ParamSet(table, *shown.left, value);
      break;
    case StripCode::Right:
      if (shown.right) ParamSet(table, *shown.right, value);
      break;
    case StripCode::Pan:
      // The balance has no linked addresses: stored and marked for sending as it is.
      if (bus == 0) {
        ParamSet(table, address::kMainBalance, value);
      }
      break;
    case StripCode::Fader:
      ParamSet(table, shown.fader, value);
      break;
    default:
      break;
  }
}

std::vector<StripUpdate> StripUpdatesFor(ParamAddress address, std::uint16_t value, int selectedBus) {
  std::vector<StripUpdate> updates;
  AddChannelUpdates(updates, address, value);
  AddEffectReturnUpdates(updates, address, value);
  AddOutputUpdates(updates, address, value, selectedBus);
  return updates;
}

std::vector<StripUpdate> OutputBusUpdates(const ParamTable& table, int bus) {
  if (!IsBus(bus)) return {};
  const BusAddresses shown = AddressesOfBus(bus);
  std::vector<StripUpdate> updates{
      {kOutputStrip, StripCode::Pfl, table.Value(address::kPflBus) & shown.pflBit},
      {kOutputStrip, StripCode::Mute, table.Value(shown.on)},
      {kOutputStrip, StripCode::Fader, table.Value(shown.fader)},
  };
  if (bus == 0) {
    updates.push_back({kOutputStrip, StripCode::Pan, table.Value(address::kMainBalance)});
  } else {
    updates.push_back({kOutputStrip, StripCode::Left, table.Value(*shown.left)});
    updates.push_back({kOutputStrip, StripCode::Right, table.Value(*shown.right)});
  }
  return updates;
}

}  // namespace rmt4::ui
