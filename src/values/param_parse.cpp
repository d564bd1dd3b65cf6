#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "values/editor_addresses.h"
#include "values/effect_program_values.h"
#include "values/editor_encodings.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"
#include "values/param_catalogue.h"
#include "values/param_words.h"
#include "values/system_noise_gate.h"

namespace rmt4 {
namespace {

using namespace param_words;

// A typed switches or PFL word reads as the default word in the bits the
// text does not name; a write takes only the named bits (`ownBits`).
constexpr std::uint16_t kSwitchesKeptBits = 0x0004;
constexpr std::uint16_t kPflConsoleBit = 0x8000;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

/// Words separated by spaces, commas or '+' (so "ON,48V" and "AUX1+MAIN" both split).
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == '+') {
      if (!word.empty()) words.push_back(Lower(word));
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(Lower(word));
  return words;
}

std::optional<bool> OnOffWord(std::string_view word) {
  if (word == "on" || word == "1" || word == "yes") return true;
  if (word == "off" || word == "0" || word == "no") return false;
  return std::nullopt;
}

template <std::size_t N>
std::optional<std::uint16_t> CodeOfWord(const std::array<CodeWord, N>& words, std::string_view text) {
  for (const CodeWord& entry : words) {
    if (EqualsIgnoringCase(entry.word, text) || std::to_string(entry.code) == text) return entry.code;
  }
  return std::nullopt;
}

class Parser {
 public:
  Parser(ParamAddress address, std::string_view text)
      : info_(ParamAt(address)), text_(Trimmed(text)), lower_(Lower(text_)) {}

  ParsedValue Run() {
    if (text_.empty()) return Refuse("an empty value");
    switch (info_.kind) {
      case ValueKind::kLevel:
        return Level(lower_);
      case ValueKind::kAuxSend:
        return AuxSend();
      case ValueKind::kPan:
        return Pan();
      case ValueKind::kSwitches:
      case ValueKind::kSwitchesNo48V:
        return Switches();
      case ValueKind::kOnWord:
        return Switch(0, 1);  // the name says mute: ON writes "bus off"
      case ValueKind::kRouted:
        return Switch(kRoutedOn, 0);
      case ValueKind::kPfl:
        return Owning(Switch(kPflConsoleBit | kRoutedOn, kPflConsoleBit), static_cast<std::uint16_t>(~kPflConsoleBit));
      case ValueKind::kSwitch:
        return Switch(1, 0);
      case ValueKind::kEqSwitch:
        return Switch(0, 1);
      case ValueKind::kNoiseGate:
        return Measured(lower_, [](double db) { return NoiseGateRaw(std::round(db) + kNoiseGateTop); });
      case ValueKind::kGainStep:
        return Measured(lower_, [](double db) {
          const auto nearest = std::min_element(GainTable.begin(), GainTable.end(), [db](int a, int b) {
            return std::abs(a / 10.0 - db) < std::abs(b / 10.0 - db);
          });
          return GainRaw(static_cast<double>(nearest - GainTable.begin()));
        });
      case ValueKind::kDelay:
        return Measured(lower_, [](double ms) { return DelayRaw(ms * 10); });
      case ValueKind::kTime:
        return Measured(lower_, [](double ms) { return TenthsRaw(ms); });
      case ValueKind::kThreshold:
        return Measured(lower_, [](double dbu) { return TenthsRaw(dbu + kThresholdOffsetDb); });
      case ValueKind::kRatio:
        return Ratio();
      case ValueKind::kHpfType:
        return FilterType(CutFilter::kHighPass);
      case ValueKind::kLpfType:
        return FilterType(CutFilter::kLowPass);
      case ValueKind::kCutFrequency:
        if (OnOffWord(lower_) == false) return Accept(kFilterOffRaw);
        return Measured(lower_, [](double hz) { return static_cast<int>(EncodeFilterFrequency(hz)); });
      case ValueKind::kBandFrequency:
        return Measured(lower_, [](double hz) { return BandFrequencyRaw(hz); });
      case ValueKind::kBandGain:
        return Measured(lower_, [](double db) { return BandGainRaw(db); });
      case ValueKind::kBandQ:
        return Measured(lower_, [](double q) { return BandQRaw(q); });
      case ValueKind::kBandType:
        return Coded(CodeOfWord(kBandTypes, lower_));
      case ValueKind::kFeedback:
        return Feedback();
      case ValueKind::kProgramA:
      case ValueKind::kProgramB:
        return Program();
      case ValueKind::kProgramType:
        // As printed: the number, then the program's name in brackets.
        return Coded(ParseWholeNumber(FirstWord(), kProgramTypeTop));
      case ValueKind::kEffectParameter1:
        // As printed: the steps, then what they mean in brackets.
        return Coded(ParseWholeNumber(FirstWord(), static_cast<unsigned long>(HighestParameter1Top())));
      case ValueKind::kEffectParameter2:
        return Coded(ParseWholeNumber(FirstWord(), kProgramParameter2Top));
      case ValueKind::kPflBus:
        return PflBus();
      case ValueKind::kFootSwitch:
        return Coded(CodeOfWord(kFootSwitch, lower_));
      case ValueKind::kRecorder:
        return Coded(CodeOfWord(kRecorder, lower_));
      case ValueKind::kSystemNoiseGate:
        return SystemNoiseGate();
      case ValueKind::kMode:
        if (lower_ == "none") return Accept(0);
        return Coded(ParseWholeNumber(lower_, kModeTop));
      case ValueKind::kRaw:
        break;
    }
    return Coded(ParseWholeNumber(lower_, 0xFFFF));
  }

 private:
  [[nodiscard]] std::string_view FirstWord() const { return std::string_view(lower_).substr(0, lower_.find(' ')); }
  ParsedValue Accept(long raw) const {
    if (raw < 0 || raw > 0xFFFF) return Refuse("a value the console cannot hold");
    return {static_cast<std::uint16_t>(raw), {}};
  }
  /// `parsed` naming only the bits `own` of its word.
  static ParsedValue Owning(ParsedValue parsed, std::uint16_t own) {
    if (parsed.raw) parsed.ownBits = own;
    return parsed;
  }
  ParsedValue Refuse(std::string_view what) const {
    return {std::nullopt, info_.name + ": " + std::string(what) + " ('" + std::string(text_) + "'); it takes " +
                              ValueRangeText(info_.address)};
  }
  template <typename Number>
  ParsedValue Coded(std::optional<Number> code) const {
    if (!code) return Refuse("not a value of this parameter");
    return Accept(static_cast<long>(*code));
  }

  /// A number in the kind's unit, the unit optional ("-6dB", "-6 db", "1.2kHz", "1200").
  template <typename Encode>
  ParsedValue Measured(std::string_view text, Encode encode) const {
    const auto range = NumericRange(info_.kind);
    if (!range) return Refuse("not a measured value");
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return Refuse("not a number");
    std::string unit(Trimmed(std::string_view(end, static_cast<std::size_t>(text.data() + text.size() - end))));
    const std::string expected = Lower(range->unit);
    if (expected == "hz" && (unit == "khz" || unit == "k")) {
      value *= 1000;
      unit = expected;
    }
    if (!unit.empty() && unit != expected) return Refuse("a unit this parameter does not use");
    // A hair of slack: typed tenths are not exact in binary.
    constexpr double kSlack = 1e-9;
    if (value < range->min - kSlack || value > range->max + kSlack) return Refuse("out of range");
    return Accept(encode(value));
  }

  ParsedValue Level(std::string_view text) const {
    if (text == "-inf" || text == "-inf db" || text == "-infdb" || text == "off") return Accept(0);
    return Measured(text, [](double db) { return LevelRaw(db); });
  }

  ParsedValue AuxSend() const {
    std::string_view level = lower_;
    std::optional<bool> pre;
    for (const auto& [suffix, isPre] : {std::pair<std::string_view, bool>{"post", false}, {"pre", true}}) {
      if (level.ends_with(suffix)) {
        level = Trimmed(level.substr(0, level.size() - suffix.size()));
        if (!level.empty() && level.back() == ',') level = Trimmed(level.substr(0, level.size() - 1));
        pre = isPre;
        break;
      }
    }
    // "pre" or "post" alone moves the send, not its level; a level alone keeps the send where it is.
    if (level.empty()) return Owning(Accept(*pre ? kPreFaderFlag : 0), kPreFaderFlag);
    ParsedValue parsed = Level(level);
    if (parsed.raw && pre.value_or(false)) parsed.raw = static_cast<std::uint16_t>(*parsed.raw | kPreFaderFlag);
    return pre ? parsed : Owning(parsed, static_cast<std::uint16_t>(~kPreFaderFlag));
  }

  ParsedValue Pan() const {
    if (lower_ == "c" || lower_ == "centre" || lower_ == "center") return Accept(kBalanceCentre);
    if (lower_.front() == 'l' || lower_.front() == 'r') {
      const auto amount = ParseWholeNumber(std::string_view(lower_).substr(1), kBalanceMax - kBalanceCentre);
      if (!amount) return Refuse("not a pan position");
      const long offset = static_cast<long>(*amount);
      return Accept(lower_.front() == 'l' ? kBalanceCentre - offset : kBalanceCentre + offset);
    }
    return Coded(ParseWholeNumber(lower_, kBalanceMax));
  }

  ParsedValue Switch(std::uint16_t on, std::uint16_t off) const {
    const auto state = OnOffWord(lower_);
    if (!state) return Refuse("not ON or OFF");
    return Accept(*state ? on : off);
  }

  /// The mute state and phantom power, each optional: what the text leaves out stays as it is.
  ParsedValue Switches() const {
    std::optional<bool> muted;
    std::optional<bool> phantom;
    const bool hasPhantom = info_.kind == ValueKind::kSwitches;
    for (const std::string& word : Words(lower_)) {
      if (hasPhantom && (word == "48v" || word == "48v-off") && !phantom) {
        phantom = word == "48v";
      } else if (const auto state = OnOffWord(word); state && !muted) {
        muted = state;
      } else {
        return Refuse(hasPhantom ? "not ON or OFF and 48V or 48V-OFF" : "not ON or OFF");
      }
    }
    if (!muted && !phantom) return Refuse("no ON or OFF");
    const std::uint16_t own = (muted ? kChannelOnBit : 0) | (phantom ? kPhantomPowerBit : 0);
    return Owning(Accept(kSwitchesKeptBits | (muted.value_or(true) ? 0 : kChannelOnBit) |
                         (phantom.value_or(false) ? kPhantomPowerBit : 0)),
                  own);
  }

  ParsedValue Ratio() const {
    std::optional<bool> compressorOff;
    std::string_view ratio = lower_;
    for (const auto& [suffix, off] : {std::pair<std::string_view, bool>{"off", true}, {"on", false}}) {
      if (ratio.ends_with(suffix)) {
        compressorOff = off;
        ratio = Trimmed(ratio.substr(0, ratio.size() - suffix.size()));
        break;
      }
    }
    // "on" or "off" alone switches the compressor and keeps its ratio; a ratio alone keeps the switch.
    if (ratio.empty()) {
      return compressorOff ? Owning(Accept(RatioRaw(0, *compressorOff)), kCompressorOffFlag) : Refuse("no ratio");
    }
    const bool off = compressorOff.value_or(false);
    const ParsedValue parsed = Measured(ratio, [off](double value) {
      const auto nearest = std::min_element(RatioTable.begin(), RatioTable.end(), [value](int a, int b) {
        return std::abs(a / 10.0 - value) < std::abs(b / 10.0 - value);
      });
      return RatioRaw(static_cast<double>(nearest - RatioTable.begin()), off);
    });
    return compressorOff ? parsed : Owning(parsed, static_cast<std::uint16_t>(~kCompressorOffFlag));
  }

  ParsedValue FilterType(CutFilter filter) const {
    for (std::size_t item = 0; item < kFilterTypeItems.size(); ++item) {
      if (EqualsIgnoringCase(kFilterTypeItems[item].text, lower_)) {
        return Accept(FilterTypeCode(filter, static_cast<int>(item)));
      }
    }
    if (lower_ == "off") return Accept(FilterTypeCode(filter, 0));
    return Refuse("not a filter type");
  }

  ParsedValue Feedback() const {
    if (lower_ == "off") return Accept(0);
    const std::string_view stage = lower_.starts_with("fb") ? std::string_view(lower_).substr(2) : lower_;
    return Coded(ParseWholeNumber(stage, kFeedbackTop));
  }

  ParsedValue Program() const {
    for (std::uint16_t program = 1; program <= kProgramTop; ++program) {
      if (EqualsIgnoringCase(ProgramName(info_.kind, program), text_)) return Accept(program);
    }
    const auto number = ParseWholeNumber(lower_, kProgramTop);
    if (!number || *number == 0) return Refuse("not a program");
    return Accept(static_cast<long>(*number));
  }

  ParsedValue PflBus() const {
    if (lower_ == "none") return Accept(0);
    long bits = 0;
    for (const std::string& word : Words(lower_)) {
      const auto bit = CodeOfWord(kPflBusBits, word);
      if (!bit || std::to_string(*bit) == word) return Refuse("not a bus of the PFL word");
      bits |= *bit;
    }
    return Accept(bits);
  }

  ParsedValue SystemNoiseGate() const {
    const auto value = ParseWholeNumber(lower_, 0xFFFF);
    if (!value) return Refuse("not a number");
    const auto position = SystemNoiseGatePosition(static_cast<std::uint16_t>(*value));
    if (!position || kSystemNoiseGateSteps[static_cast<std::size_t>(*position)] != *value) {
      return Refuse("not one of the selector's values");
    }
    return Accept(static_cast<long>(*value));
  }

  const ParamInfo& info_;
  std::string_view text_;
  std::string lower_;
};

}  // namespace

ParsedValue ParseValue(ParamAddress address, std::string_view text) {
  if (!IsValidAddress(address)) return {std::nullopt, "no such address: " + std::to_string(address)};
  return Parser(address, text).Run();
}

}  // namespace rmt4
