#include "values/editor_header_writes.h"

#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"
#include "values/own_bits.h"

namespace rmt4 {
namespace {

// Bit 15 of an input's PFL word belongs to the console; an edit keeps it.
constexpr std::uint16_t kPflKeptBit = 0x8000;
constexpr int kPhantomPowerChannels = 8;

void SetBits(ParamTable& table, ParamAddress address, std::uint16_t bits, bool set) {
  (void)StoreOwnBits(table, address, set ? bits : 0, bits);
}

bool IsCopy(int from, int to) {
  return from != to && from >= 0 && to >= 0 && from < kCopyableChannels && to < kCopyableChannels;
}

bool IsMixingChannel(int channel) { return channel >= 0 && channel < kFx1Channel; }
bool IsInput(int channel) { return channel >= 0 && channel <= kFx2Channel; }
bool IsOutput(int channel) { return channel >= kMainChannel && channel <= kLastEditorChannel; }

void WriteInputEdit(ParamTable& table, int channel, int code, int reading) {
  if (!IsInput(channel)) return;
  const InputHeaderAddresses input = InputHeader(channel);
  const bool lit = reading != 0;
  switch (code) {
    case header_code::kInputMute:
      if (input.isEffectReturn()) {
        ParamSet(table, input.mute, lit ? 0 : 1);
      } else {
        SetBits(table, input.mute, kChannelOnBit, !lit);
      }
      break;
    case header_code::kPhantomPower:
      if (channel < kPhantomPowerChannels) SetBits(table, input.mute, kPhantomPowerBit, lit);
      break;
    case header_code::kInputFader:
      ParamSet(table, input.level, static_cast<std::uint16_t>(reading));
      break;
    case header_code::kInputPfl:
      if (input.isEffectReturn()) {
        SetBits(table, address::kPflBus, input.pflBusBit, lit);
      } else {
        // The companion word always carries the same value (as the strips write it).
        (void)StoreOwnBits(table, *input.pfl, lit ? kRoutedOn : 0, static_cast<std::uint16_t>(~kPflKeptBit),
                           static_cast<ParamAddress>(*input.pfl + 1));
      }
      break;
    default:
      break;
  }
}

void WriteOutputEdit(ParamTable& table, int bus, int code, int reading) {
  const BusHeaderAddresses output = BusHeader(bus);
  const bool lit = reading != 0;
  switch (code) {
    case header_code::kOutputMute:
      ParamSet(table, output.on, lit ? 0 : 1);
      break;
    case header_code::kOutputPfl:
      SetBits(table, address::kPflBus, output.pflBit, lit);
      break;
    case header_code::kOutputFader:
      ParamSet(table, output.level, static_cast<std::uint16_t>(reading));
      break;
    default:
      break;
  }
}

/// L, R, balance and phase belong to the channel being edited.
void WriteSelectedEdit(ParamTable& table, int channel, int code, int reading) {
  const bool lit = reading != 0;
  const std::uint16_t routed = lit ? 0 : kRoutedOn;  // lit means "not routed away": the header shows 0 lit
  if (IsMixingChannel(channel)) {
    const InputHeaderAddresses input = InputHeader(channel);
    if (code == header_code::kLeft) ParamSet(table, *input.left, routed);
    if (code == header_code::kRight) ParamSet(table, *input.right, routed);
    if (code == header_code::kBalance) ParamSet(table, *input.balance, static_cast<std::uint16_t>(reading));
    return;
  }
  if (!IsOutput(channel)) return;
  const BusHeaderAddresses output = BusHeader(channel - kMainChannel);
  if (code == header_code::kPhase) ParamSet(table, output.phase, lit ? 1 : 0);
  if (code == header_code::kLeft && output.left) ParamSet(table, *output.left, routed);
  if (code == header_code::kRight && output.right) ParamSet(table, *output.right, routed);
  // The MAIN balance has no linked addresses: stored and marked for sending as it is.
  if (code == header_code::kBalance && channel == kMainChannel) {
    ParamSet(table, address::kMainBalance, static_cast<std::uint16_t>(reading));
  }
}

}  // namespace

void WriteHeaderEdit(ParamTable& table, const HeaderSelection& selection, int code, int reading) {
  switch (code) {
    case header_code::kInputMute:
    case header_code::kPhantomPower:
    case header_code::kInputFader:
    case header_code::kInputPfl:
      WriteInputEdit(table, selection.input, code, reading);
      break;
    case header_code::kOutputMute:
    case header_code::kOutputPfl:
    case header_code::kOutputFader:
      if (selection.output >= 0 && selection.output < kOutputBusCount) {
        WriteOutputEdit(table, selection.output, code, reading);
      }
      break;
    default:
      WriteSelectedEdit(table, selection.selected, code, reading);
      break;
  }
}

bool CopySwitchesPhantomPowerOn(const ParamTable& table, int from, int to) {
  if (!IsCopy(from, to)) return false;
  const auto on = [&](int channel) { return (table.Value(InputHeader(channel).mute) & kPhantomPowerBit) != 0; };
  return on(from) && !on(to);
}

int CopyChannelBlock(ParamTable& table, int from, int to, PhantomPowerCopy phantom) {
  if (!IsCopy(from, to)) return 0;
  const ParamAddress phantomWord = InputHeader(to).mute;
  int written = 0;
  for (int offset = 0; offset < kInputBlockSize; ++offset) {
    const auto source = static_cast<ParamAddress>(InputBlockBase(from) + offset);
    const auto target = static_cast<ParamAddress>(InputBlockBase(to) + offset);
    std::uint16_t value = table.Value(source);
    if (target == phantomWord && phantom == PhantomPowerCopy::kTargetKept) {
      value = ReplaceOwnBits(value, table.Value(target), kPhantomPowerBit);
    }
    if (value == table.Value(target)) continue;
    ParamSet(table, target, value);
    ++written;
  }
  return written;
}

}  // namespace rmt4
