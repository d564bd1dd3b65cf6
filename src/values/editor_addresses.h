#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {

/// The addresses an editor panel's control writes for one channel: usually
/// one, two for the effect returns' main send (both halves of the stereo
/// return), none when the channel has no such control.
using EditorAddresses = std::vector<ParamAddress>;

/// Where control `code` of the editor of `channel` (0..18) lives. Inputs and
/// returns have bands 0..3, outputs 0..12 (and their codes of output_code).
[[nodiscard]] EditorAddresses EditorCodeAddresses(int channel, int code);

/// The input block base of an editor channel with a block (0..9), else none.
[[nodiscard]] std::optional<ParamAddress> ChannelBlockBase(int channel);

/// What the editor frame's input section shows and writes for channels
/// 0..11. The mixing channels (0..9) keep mute in bit 3 of their switches
/// word; the effect returns have an on word of their own and their PFL in
/// the PFL bus word.
struct InputHeaderAddresses {
  ParamAddress level = 0;
  ParamAddress mute = 0;  ///< the switches word (0..9) or the return's on word
  std::optional<ParamAddress> pfl;  ///< with its companion at pfl + 1 (0..9)
  std::optional<ParamAddress> left;
  std::optional<ParamAddress> right;
  std::optional<ParamAddress> balance;
  std::uint16_t pflBusBit = 0;  ///< effect returns: their bit in the PFL bus word
  [[nodiscard]] bool isEffectReturn() const { return pflBusBit != 0; }
};
[[nodiscard]] InputHeaderAddresses InputHeader(int channel);

/// Bits of an input channel's switches word.
inline constexpr std::uint16_t kPhantomPowerBit = 0x0001;
inline constexpr std::uint16_t kChannelOnBit = 0x0008;

/// What the output section writes for bus 0 (MAIN) .. 6 (AUX6).
struct BusHeaderAddresses {
  ParamAddress level = 0;
  ParamAddress phase = 0;
  ParamAddress on = 0;
  std::optional<ParamAddress> left;  ///< AUX buses: routing to MAIN L/R
  std::optional<ParamAddress> right;
  std::uint16_t pflBit = 0;  ///< in the PFL bus word
};
[[nodiscard]] BusHeaderAddresses BusHeader(int bus);

inline constexpr int kOutputBusCount = 7;

}  // namespace rmt4
