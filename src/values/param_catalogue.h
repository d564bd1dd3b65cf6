#pragma once

// The named parameter catalogue: one stable name for each of the console's
// 1574 addresses ("ch1.fader", "ch7.eq2.freq", "aux4.mute", "addr.1109"…),
// its channel and section, and how its raw word reads and is typed in units.
// Formatting and parsing go through the same conversions as the windows.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {

enum class ParamSection : std::uint8_t { kStrip, kEq, kFilter, kDynamics, kSends, kDelay, kEffect, kSystem, kOther };

/// How a raw word reads. What each kind means (reading, typing, range) is
/// one entry of the table in value_kinds.cpp, listed in this order.
enum class ValueKind : std::uint8_t {
  kRaw,            ///< plain 0..65535
  kLevel,          ///< level table word, dB
  kAuxSend,        ///< level with bit 15 = pre-fader
  kPan,            ///< 0..200, 100 = centre
  kSwitches,       ///< input switches word: mute (bit 3 clear) and 48V (bit 0)
  kSwitchesNo48V,  ///< the same on a channel without phantom power
  kOnWord,         ///< 1 = on, 0 = muted; read as the mute button
  kRouted,         ///< 0 or 1300
  kPfl,            ///< low 14 bits non-zero = on, bit 15 kept
  kSwitch,         ///< 0/1
  kEqSwitch,       ///< 1 = EQ button pressed (caption "OFF")
  kNoiseGate,      ///< -raw dB
  kGainStep,       ///< gain table index
  kDelay,          ///< hundredths of a ms
  kTime,           ///< tenths of a ms
  kThreshold,      ///< raw/10 - 50 dBu
  kRatio,          ///< ratio table word with the compressor-off flag
  kHpfType,
  kLpfType,
  kCutFrequency,  ///< filter frequency word, 0x8000 = off
  kBandFrequency,
  kBandGain,
  kBandQ,
  kBandType,     ///< 5 high shelf, 6 low shelf, 7 peaking
  kFeedback,     ///< feedback suppressor 0..5
  kProgramA,     ///< Fx1 program number
  kProgramB,     ///< Fx2 program number
  kProgramType,  ///< 0..36, shown only
  /// An effect program's parameter in slider steps; the program type says what they mean.
  kEffectParameter1,
  kEffectParameter2,
  kPflBus,       ///< bits of the PFL bus word
  kFootSwitch,
  kRecorder,
  kSystemNoiseGate,
  kMode,
  kLast = kMode,
};

struct ParamInfo {
  std::string name;  ///< lower case, e.g. "ch7.eq2.gain"
  ParamAddress address = 0;
  std::string channel;  ///< "ch1".."ch8", "st9", "dig", "fx1", "fx2", "main", "aux1".."aux6", "sys"; empty for addr.N
  ParamSection section = ParamSection::kOther;
  ValueKind kind = ValueKind::kRaw;
  /// Written with the same value whenever this one is (PFL and effect main-send companions).
  std::optional<ParamAddress> companion;
  /// The word this one's reading depends on (an effect parameter's program type).
  std::optional<ParamAddress> readWith;
};

/// The channel name of the channel editor's channel `channel` (0..18): "ch1".."ch8",
/// "st9", "dig", "fx1", "fx2", "main", "aux1".."aux6".
[[nodiscard]] std::string ChannelName(int channel);
/// The channel of the system words.
inline constexpr std::string_view kSystemChannel = "sys";

/// Every address, indexed by address.
[[nodiscard]] std::span<const ParamInfo, kParamCount> ParamCatalogue();
/// The entry of `address` (address 0's for one outside the table; callers check addresses first).
[[nodiscard]] const ParamInfo& ParamAt(ParamAddress address);
[[nodiscard]] std::string_view SectionName(ParamSection section);

/// The address of a name, case-insensitive; none for an unknown name.
[[nodiscard]] std::optional<ParamAddress> FindParam(std::string_view name);
/// The refusal of a name no parameter has, as every client words it.
[[nodiscard]] std::string UnknownParamText(std::string_view name);
/// The addresses whose names match `pattern` ('*' any run, '?' one character, "[1-4]" one of a set;
/// case-insensitive), in address order.
[[nodiscard]] std::vector<ParamAddress> MatchParams(std::string_view pattern);
[[nodiscard]] bool HasWildcard(std::string_view pattern);
/// Whether `name` matches `pattern` as MatchParams matches ('*', '?', "[1-4]", "[!5-8]"; case-insensitive).
[[nodiscard]] bool NameMatches(std::string_view pattern, std::string_view name);

/// "-6.0 dB", "1.20 kHz", "OFF", "Bessel-12dB", "REVERB HALL"…
[[nodiscard]] std::string FormatValue(ParamAddress address, std::uint16_t raw);

/// The value of another address, for readings that depend on it.
using ValueAt = std::function<std::uint16_t(ParamAddress)>;
/// As above, and a value whose reading depends on another word (see
/// `readWith`) also reads in its units, e.g. "20 (Echo Delay:100ms)".
[[nodiscard]] std::string FormatValue(ParamAddress address, std::uint16_t raw, const ValueAt& valueAt);
/// `addresses` and the words their readings depend on, each once.
[[nodiscard]] std::vector<ParamAddress> WithReadingDependencies(std::vector<ParamAddress> addresses);
/// What may be typed for the address, e.g. "db -120..10, -inf".
[[nodiscard]] std::string ValueRangeText(ParamAddress address);

/// The raw word for a typed value, or why it is refused.
struct ParsedValue {
  std::optional<std::uint16_t> raw;
  std::string error;
  /// The bits of the word the text names ("ON" of a mute names the mute bit,
  /// not 48V); a write keeps the others as the console holds them (StoreOwnBits).
  std::uint16_t ownBits = 0xFFFF;
};
[[nodiscard]] ParsedValue ParseValue(ParamAddress address, std::string_view text);

}  // namespace rmt4
