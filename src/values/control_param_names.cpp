#include "values/control_param_names.h"

#include <optional>
#include <vector>

#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/param_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

std::string InputHeaderName(int channel, int headerCode) {
  const InputHeaderAddresses input = InputHeader(channel);
  switch (headerCode) {
    case header_code::kInputMute:
      return ParamNameOf(input.mute);
    case header_code::kInputPfl:
      return input.isEffectReturn() ? BitNameAt(address::kPflBus, input.pflBusBit) : ParamNameOf(input.pfl);
    case header_code::kPhantomPower:
      return channel < kSt910Channel ? BitNameAt(input.mute, kPhantomPowerBit) : std::string();
    case header_code::kInputFader:
      return ParamNameOf(input.level);
    default:
      return {};
  }
}

std::string OutputHeaderName(int bus, int headerCode) {
  const BusHeaderAddresses output = BusHeader(bus);
  switch (headerCode) {
    case header_code::kOutputMute:
      return ParamNameOf(output.on);
    case header_code::kOutputPfl:
      return BitNameAt(address::kPflBus, output.pflBit);
    case header_code::kOutputFader:
      return ParamNameOf(output.level);
    default:
      return {};
  }
}

// Balance, L, R and phase belong to the channel being edited.
std::string EditedChannelName(int selected, int headerCode) {
  if (selected >= kMainChannel) {
    const BusHeaderAddresses edited = BusHeader(selected - kMainChannel);
    switch (headerCode) {
      case header_code::kPhase:
        return ParamNameOf(edited.phase);
      case header_code::kLeft:
        return ParamNameOf(edited.left);
      case header_code::kRight:
        return ParamNameOf(edited.right);
      case header_code::kBalance:
        return selected == kMainChannel ? ParamNameOf(address::kMainBalance) : std::string();
      default:
        return {};
    }
  }
  const InputHeaderAddresses input = InputHeader(selected);
  switch (headerCode) {
    case header_code::kLeft:
      return ParamNameOf(input.left);
    case header_code::kRight:
      return ParamNameOf(input.right);
    case header_code::kBalance:
      return ParamNameOf(input.balance);
    default:
      return {};
  }
}

}  // namespace

std::string ParamNameOf(std::optional<ParamAddress> address) {
  return address ? ParamAt(*address).name : std::string();
}

std::string BitNameAt(ParamAddress address, std::uint16_t mask) {
  for (const BitParam* bits : BitParamsAt(address)) {
    if (bits->mask == mask) return bits->name;
  }
  return {};
}

std::string EditorControlParamName(int channel, int code, bool isSwitch) {
  const EditorAddresses addresses = EditorCodeAddresses(channel, code);
  if (addresses.empty()) return {};
  if (isSwitch) {
    const std::vector<const BitParam*> bits = BitParamsAt(addresses.front());
    if (bits.size() == 1) return bits.front()->name;
  }
  return ParamAt(addresses.front()).name;
}

std::string HeaderParamName(const HeaderSelection& selection, int headerCode) {
  if (std::string name = InputHeaderName(selection.input, headerCode); !name.empty()) return name;
  if (std::string name = OutputHeaderName(selection.output, headerCode); !name.empty()) return name;
  return EditedChannelName(selection.selected, headerCode);
}

}  // namespace rmt4
