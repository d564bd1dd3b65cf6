#include "values/value_kinds.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "dsp/band_field_steps.h"
#include "values/editor_addresses.h"
#include "values/editor_encodings.h"
#include "values/effect_program_values.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"
#include "values/level_table.h"
#include "values/output_editor_conversions.h"
#include "values/own_bits.h"
#include "values/system_noise_gate.h"
#include "values/typed_text.h"

namespace rmt4 {
namespace {

// ---- Reading and typing in general ----

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string OnOff(bool on) { return on ? "ON" : "OFF"; }
bool IsZero(std::uint16_t raw) { return raw == 0; }
bool NonZero(std::uint16_t raw) { return raw != 0; }
std::string OnWhenZero(std::uint16_t raw) { return OnOff(IsZero(raw)); }
std::string OnWhenNonZero(std::uint16_t raw) { return OnOff(NonZero(raw)); }

ParsedValue Refuse(std::string_view why) { return {std::nullopt, std::string(why)}; }

ParsedValue Accept(long raw) {
  if (raw < 0 || raw > 0xFFFF) return Refuse("a value the console cannot hold");
  return {static_cast<std::uint16_t>(raw), {}};
}

template <typename Number>
ParsedValue Coded(std::optional<Number> code) {
  if (!code) return Refuse("not a value of this parameter");
  return Accept(static_cast<long>(*code));
}

/// `parsed` naming only the bits `own` of its word.
ParsedValue Owning(ParsedValue parsed, std::uint16_t own) {
  if (parsed.raw) parsed.ownBits = own;
  return parsed;
}

/// A number in the range's unit, refused outside the range.
template <typename Encode>
ParsedValue MeasuredNumber(double value, const UnitRange& range, Encode encode) {
  if (!std::isfinite(value)) return Refuse("not a number");
  // A hair of slack: typed tenths are not exact in binary.
  constexpr double kSlack = 1e-9;
  if (value < range.min - kSlack || value > range.max + kSlack) return Refuse("out of range");
  return Accept(encode(value));
}

/// A number in the range's unit, the unit optional ("-6dB", "-6 db", "1.2kHz", "1200").
template <typename Encode>
ParsedValue Measured(std::string_view text, const UnitRange& range, Encode encode) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return Refuse("not a number");
  std::string unit(Trimmed(std::string_view(end, static_cast<std::size_t>(text.data() + text.size() - end))));
  const std::string expected = Lower(range.unit);
  if (expected == "hz" && (unit == "khz" || unit == "k")) {
    value *= 1000;
    unit = expected;
  }
  if (!unit.empty() && unit != expected) return Refuse("a unit this parameter does not use");
  return MeasuredNumber(value, range, encode);
}

/// A measured kind's parser and range text, from its unit range and the encoder of its word.
template <UnitRange (*Range)(), auto Encode>
ParsedValue ParseMeasured(std::string_view typed) {
  return Measured(typed, Range(), Encode);
}
template <UnitRange (*Range)(), auto Encode>
ParsedValue MeasuredFrom(double number) {
  return MeasuredNumber(number, Range(), Encode);
}
template <UnitRange (*Range)()>
std::string MeasuredRange() {
  const UnitRange range = Range();
  char text[64];
  if (range.unit == ":1") {
    std::snprintf(text, sizeof text, "%g:1..%g:1", range.min, range.max);
  } else {
    const std::string unit(range.unit.empty() ? "Q" : range.unit);
    std::snprintf(text, sizeof text, "%s %g..%g", unit.c_str(), range.min, range.max);
  }
  return text;
}

/// The texts of `items`, separated by `separator`.
template <typename Items, typename Text>
std::string Joined(const Items& items, std::string_view separator, Text text) {
  std::string joined;
  for (const auto& item : items) {
    if (!joined.empty()) joined += separator;
    joined += text(item);
  }
  return joined;
}

/// The nearest entry of a table of tenths, as a position for its encoder.
template <std::size_t N>
double NearestTenths(const std::array<int, N>& table, double value) {
  const auto nearest = std::min_element(table.begin(), table.end(), [value](int a, int b) {
    return std::abs(a / 10.0 - value) < std::abs(b / 10.0 - value);
  });
  return static_cast<double>(nearest - table.begin());
}

// ---- Numbers and the steps of a range ----

template <int N>
int Constant() {
  return N;
}

/// The words Low..Low+Top, the number their own.
template <int Low, int Top>
std::optional<int> CountStep(std::uint16_t raw) {
  if (raw < Low || raw > Low + Top) return std::nullopt;
  return raw - Low;
}
template <int Low>
std::uint16_t CountRaw(int step) {
  return static_cast<std::uint16_t>(Low + step);
}

/// A kind counted in whole steps: the number of step s is Low + s (a choice's
/// index, a pan position, a program number…).
template <int Top, std::optional<int> (*StepOf)(std::uint16_t), std::uint16_t (*RawAt)(int), int Low = 0>
constexpr NumberMeaning Counted(std::uint16_t own = kWholeWord, bool continuous = false) {
  return {[](std::uint16_t raw) -> std::optional<double> {
            const std::optional<int> step = StepOf(raw);
            if (!step) return std::nullopt;
            return Low + *step;
          },
          [](double number) {
            if (!std::isfinite(number) || number != std::floor(number)) return Refuse("not a whole number");
            if (number < Low || number > Low + Top) return Refuse("out of range");
            return Accept(RawAt(static_cast<int>(number) - Low));
          },
          true, continuous, Constant<Top>, StepOf, RawAt, own};
}
template <int Low, int High>
constexpr NumberMeaning CountedWords(bool continuous = false) {
  return Counted<High - Low, CountStep<Low, High - Low>, CountRaw<Low>, Low>(kWholeWord, continuous);
}

/// A measured kind whose word counts its steps evenly from the range's bottom
/// (upwards or, as the noise gate, downwards).
template <UnitRange (*Range)(), auto Encode>
struct WordSteps {
  static int Bottom() { return Encode(Range().min); }
  static int Direction() { return Encode(Range().max) < Bottom() ? -1 : 1; }
  static int Top() { return (Encode(Range().max) - Bottom()) * Direction(); }
  static std::optional<int> StepOf(std::uint16_t raw) {
    const int step = (raw - Bottom()) * Direction();
    if (step < 0 || step > Top()) return std::nullopt;
    return step;
  }
  static std::uint16_t RawAt(int step) { return static_cast<std::uint16_t>(Bottom() + step * Direction()); }
};

/// A measured kind: its number, its words from numbers, its steps.
template <UnitRange (*Range)(), auto Encode, std::optional<double> (*Number)(std::uint16_t)>
constexpr NumberMeaning MeasuredNumbers() {
  using Steps = WordSteps<Range, Encode>;
  return {Number, MeasuredFrom<Range, Encode>, false, true, Steps::Top, Steps::StepOf, Steps::RawAt};
}

/// The entry of a rising table nearest to a word's value: a band panel's grid.
template <const auto& Table, double (*Decode)(std::uint16_t)>
std::optional<int> NearestEntry(std::uint16_t raw) {
  const double value = Decode(raw);
  const auto above = std::lower_bound(Table.begin(), Table.end(), value);
  if (above == Table.begin()) return 0;
  if (above == Table.end() || value - *(above - 1) < *above - value) return static_cast<int>(above - Table.begin()) - 1;
  return static_cast<int>(above - Table.begin());
}
template <const auto& Table, auto Encode>
std::uint16_t EntryRaw(int step) {
  return static_cast<std::uint16_t>(Encode(Table[static_cast<std::size_t>(step)]));
}

// ---- Coded values: a word for each code ----

constexpr std::array<CodeWord, 3> kBandTypes{{{5, "high-shelf"}, {6, "low-shelf"}, {7, "peaking"}}};
constexpr std::array<CodeWord, 3> kFootSwitch{{{1, "FX1"}, {2, "FX2"}, {3, "FX1+FX2"}}};
constexpr std::array<CodeWord, 2> kRecorder{{{0, "MP3"}, {1, "USB"}}};

template <const auto& Words>
std::string CodeText(std::uint16_t raw) {
  for (const CodeWord& entry : Words) {
    if (entry.code == raw) return std::string(entry.word);
  }
  return std::to_string(raw);
}

template <std::size_t N>
std::optional<std::uint16_t> CodeOfWord(const std::array<CodeWord, N>& words, std::string_view typed) {
  for (const CodeWord& entry : words) {
    if (EqualsIgnoringCase(entry.word, typed) || std::to_string(entry.code) == typed) return entry.code;
  }
  return std::nullopt;
}

template <const auto& Words>
ParsedValue ParseCode(std::string_view typed) {
  return Coded(CodeOfWord(Words, typed));
}

/// A code's index in its list.
template <const auto& Words>
std::optional<int> CodeIndex(std::uint16_t raw) {
  for (std::size_t i = 0; i < Words.size(); ++i) {
    if (Words[i].code == raw) return static_cast<int>(i);
  }
  return std::nullopt;
}
template <const auto& Words>
std::uint16_t CodeAt(int index) {
  return Words[static_cast<std::size_t>(index)].code;
}
template <const auto& Words>
constexpr NumberMeaning CodeNumbers() {
  return Counted<static_cast<int>(Words.size()) - 1, CodeIndex<Words>, CodeAt<Words>>();
}

template <const auto& Words>
std::string CodeNames() {
  return Joined(Words, ", ", [](const CodeWord& entry) { return entry.word; });
}

// ---- Levels: dB from the level table, 0 = -inf ----

UnitRange LevelRange() { return {LevelDb(LevelTable.front()), LevelDb(LevelAtStep(kStripFaderTop)), "dB"}; }

std::string LevelText(std::uint16_t raw) {
  if ((raw & kLevelMask) == 0) return "-inf";
  return Printf("%.1f dB", LevelDb(raw));
}

std::optional<double> LevelNumber(std::uint16_t raw) {
  if ((raw & kLevelMask) == 0) return -std::numeric_limits<double>::infinity();
  return LevelDb(raw);
}

/// -inf is the bottom, as typed "-inf".
ParsedValue LevelFrom(double db) {
  if (db == -std::numeric_limits<double>::infinity()) return Accept(0);
  return MeasuredNumber(db, LevelRange(), LevelRaw);
}

/// Fader travel: a level above the fader's top stands at its top.
std::optional<int> FaderStep(std::uint16_t raw) { return FaderStepForLevel(raw).value_or(kStripFaderTop); }

constexpr NumberMeaning LevelNumbers(std::uint16_t own) {
  return {LevelNumber, LevelFrom, false, true, Constant<kStripFaderTop>, FaderStep, LevelAtStep, own};
}

ParsedValue ParseLevel(std::string_view typed) {
  if (typed == "-inf" || typed == "-inf db" || typed == "-infdb" || typed == "off") return Accept(0);
  return Measured(typed, LevelRange(), LevelRaw);
}

/// A level with "pre" or "post"; either alone moves the send and keeps its
/// level, a level alone keeps the send where it is.
ParsedValue ParseAuxSend(std::string_view typed) {
  std::string_view level = typed;
  std::optional<bool> pre;
  for (const auto& [suffix, isPre] : {std::pair<std::string_view, bool>{"post", false}, {"pre", true}}) {
    if (level.ends_with(suffix)) {
      level = Trimmed(level.substr(0, level.size() - suffix.size()));
      if (!level.empty() && level.back() == ',') level = Trimmed(level.substr(0, level.size() - 1));
      pre = isPre;
      break;
    }
  }
  if (level.empty()) return Owning(Accept(*pre ? kPreFaderFlag : 0), kPreFaderFlag);
  ParsedValue parsed = ParseLevel(level);
  if (parsed.raw && pre.value_or(false)) parsed.raw = static_cast<std::uint16_t>(*parsed.raw | kPreFaderFlag);
  return pre ? parsed : Owning(parsed, static_cast<std::uint16_t>(~kPreFaderFlag));
}

// ---- Pan and switches ----

std::string PanText(std::uint16_t raw) {
  if (raw == kBalanceCentre) return "C";
  std::string text(1, raw < kBalanceCentre ? 'L' : 'R');
  text.append(std::to_string(std::abs(raw - kBalanceCentre)));
  return text;
}

ParsedValue ParsePan(std::string_view typed) {
  if (typed == "c" || typed == "centre" || typed == "center") return Accept(kBalanceCentre);
  if (typed.front() == 'l' || typed.front() == 'r') {
    const auto amount = ParseWholeNumber(typed.substr(1), kBalanceMax - kBalanceCentre);
    if (!amount) return Refuse("not a pan position");
    const long offset = static_cast<long>(*amount);
    return Accept(typed.front() == 'l' ? kBalanceCentre - offset : kBalanceCentre + offset);
  }
  return Coded(ParseWholeNumber(typed, kBalanceMax));
}

/// A channel's switches word: muted while its on bit is clear.
bool Muted(std::uint16_t raw) { return (raw & kChannelOnBit) == 0; }

/// A switch as a number: 1 for ON, 0 for OFF, as the words read.
template <bool (*IsOn)(std::uint16_t)>
std::optional<int> SwitchStep(std::uint16_t raw) {
  return IsOn(raw) ? 1 : 0;
}
template <std::uint16_t On, std::uint16_t Off>
std::uint16_t SwitchRaw(int step) {
  return step != 0 ? On : Off;
}
template <bool (*IsOn)(std::uint16_t), std::uint16_t On, std::uint16_t Off>
constexpr NumberMeaning SwitchNumbers(std::uint16_t own = kWholeWord) {
  return Counted<1, SwitchStep<IsOn>, SwitchRaw<On, Off>>(own);
}

/// ON or OFF as the words `on` and `off`.
template <std::uint16_t On, std::uint16_t Off>
ParsedValue ParseSwitch(std::string_view typed) {
  const auto state = OnOffWord(typed);
  if (!state) return Refuse("not ON or OFF");
  return Accept(*state ? On : Off);
}

/// The mute state ("ON" = muted, bit 3 clear) and phantom power.
template <bool HasPhantom>
std::string SwitchesText(std::uint16_t raw) {
  std::string text = OnOff(Muted(raw));
  if (HasPhantom && (raw & kPhantomPowerBit) != 0) text += " 48V";
  return text;
}

/// The mute state and phantom power, each optional: what the text leaves out
/// reads as the default word and is not written (`ownBits`).
/// Set in every switches word the console sends.
constexpr std::uint16_t kSwitchesKeptBits = 0x0004;

template <bool HasPhantom>
ParsedValue ParseSwitches(std::string_view typed) {
  std::optional<bool> muted;
  std::optional<bool> phantom;
  for (const std::string& word : Words(typed)) {
    if (HasPhantom && (word == "48v" || word == "48v-off") && !phantom) {
      phantom = word == "48v";
    } else if (const auto state = OnOffWord(word); state && !muted) {
      muted = state;
    } else {
      return Refuse(HasPhantom ? "not ON or OFF and 48V or 48V-OFF" : "not ON or OFF");
    }
  }
  if (!muted && !phantom) return Refuse("no ON or OFF");
  const std::uint16_t own = (muted ? kChannelOnBit : 0) | (phantom ? kPhantomPowerBit : 0);
  return Owning(Accept(kSwitchesKeptBits | (muted.value_or(true) ? 0 : kChannelOnBit) |
                       (phantom.value_or(false) ? kPhantomPowerBit : 0)),
                own);
}

/// Low 14 bits of an input's PFL word: non-zero = in PFL; bit 15 is the console's.
constexpr std::uint16_t kPflOnMask = 0x3FFF;
constexpr std::uint16_t kPflConsoleBit = 0x8000;
bool PflOn(std::uint16_t raw) { return (raw & kPflOnMask) != 0; }

// ---- Dynamics ----

/// Compressor threshold words are tenths of a dB above -50 dBu.
constexpr double kThresholdOffsetDb = 50.0;

UnitRange NoiseGateRange() { return {-kNoiseGateTop, 0, "dB"}; }
UnitRange GainStepRange() { return {GainTable.front() / 10.0, GainTable.back() / 10.0, "dB"}; }
UnitRange DelayRange() { return {0, kDelayTop / 10.0, "ms"}; }
UnitRange TimeRange() { return {0, kTimeTop, "ms"}; }
UnitRange ThresholdRange() { return {-kThresholdOffsetDb, kThresholdTop - kThresholdOffsetDb, "dBu"}; }
UnitRange RatioRange() { return {RatioTable.front() / 10.0, RatioTable.back() / 10.0, ":1"}; }

int NoiseGateWord(double db) { return NoiseGateRaw(std::round(db) + kNoiseGateTop); }
int GainStepWord(double db) { return GainRaw(NearestTenths(GainTable, db)); }
int DelayWord(double ms) { return DelayRaw(ms * 10); }
int ThresholdWord(double dbu) { return TenthsRaw(dbu + kThresholdOffsetDb); }

std::optional<double> NoiseGateDb(std::uint16_t raw) { return NoiseGatePosition(raw) - kNoiseGateTop; }
std::optional<double> GainStepDb(std::uint16_t raw) {
  if (raw > kGainStepTop) return std::nullopt;
  return GainTable[raw] / 10.0;
}
std::optional<double> DelayMs(std::uint16_t raw) { return DelayPosition(raw) / 10; }
std::optional<double> TimeMs(std::uint16_t raw) { return TenthsPosition(raw); }
std::optional<double> ThresholdDbu(std::uint16_t raw) { return TenthsPosition(raw) - kThresholdOffsetDb; }
std::optional<double> RatioNumber(std::uint16_t raw) { return (raw & ~kCompressorOffFlag) / 10.0; }

int RatioWord(double ratio) { return RatioRaw(NearestTenths(RatioTable, ratio), false); }
std::optional<int> RatioStep(std::uint16_t raw) { return RatioStateOf(raw).position; }
std::uint16_t RatioStepRaw(int step) { return static_cast<std::uint16_t>(RatioRaw(step, false)); }

std::string GainStepText(std::uint16_t raw) {
  if (raw > kGainStepTop) return std::to_string(raw);
  return Printf("%.1f dB", GainTable[raw] / 10.0);
}

std::string RatioText(std::uint16_t raw) {
  std::string text = Printf("%.1f:1", (raw & ~kCompressorOffFlag) / 10.0);
  return RatioStateOf(raw).compressorOff ? text + " off" : text;
}

/// A ratio, "on" or "off" after it; either alone switches the compressor and
/// keeps its ratio, a ratio alone keeps the switch.
ParsedValue ParseRatio(std::string_view typed) {
  std::optional<bool> compressorOff;
  std::string_view ratio = typed;
  for (const auto& [suffix, off] : {std::pair<std::string_view, bool>{"off", true}, {"on", false}}) {
    if (ratio.ends_with(suffix)) {
      compressorOff = off;
      ratio = Trimmed(ratio.substr(0, ratio.size() - suffix.size()));
      break;
    }
  }
  if (ratio.empty()) {
    return compressorOff ? Owning(Accept(RatioRaw(0, *compressorOff)), kCompressorOffFlag) : Refuse("no ratio");
  }
  const bool off = compressorOff.value_or(false);
  const ParsedValue parsed =
      Measured(ratio, RatioRange(), [off](double value) { return RatioRaw(NearestTenths(RatioTable, value), off); });
  return compressorOff ? parsed : Owning(parsed, static_cast<std::uint16_t>(~kCompressorOffFlag));
}

// ---- Filters and EQ bands ----

UnitRange CutFrequencyRange() { return {FilterFreqTable[kFilterOffRow + 1], FilterFreqTable.back(), "Hz"}; }
UnitRange BandFrequencyRange() { return {BandFrequencyStepTable.front(), BandFrequencyStepTable.back(), "Hz"}; }
UnitRange BandGainRange() { return {GainRange{}.min, GainRange{}.max, "dB"}; }
UnitRange BandQRange() { return {QStepTable.front(), QStepTable.back(), ""}; }

/// Whole hertz from 100 Hz, tenths below, as the editor's band field shows
/// them; kHz with up to three decimals (no hertz lost) from 1 kHz.
std::string FrequencyText(double hz) {
  if (hz < 100) return Printf("%.1f Hz", hz);
  if (hz < 1000) return Printf("%.0f Hz", hz);
  // Rounded to whole hertz first, halves to even as "%.0f" does below 1 kHz.
  std::string text = Printf("%.3f", std::nearbyint(hz) / 1000);
  while (text.back() == '0' && text[text.size() - 3] != '.') text.pop_back();
  return text + " kHz";
}

template <CutFilter Filter>
std::string FilterTypeText(std::uint16_t raw) {
  return std::string(kFilterTypeItems[static_cast<std::size_t>(FilterTypeItemForCode(Filter, raw))].text);
}

template <CutFilter Filter>
ParsedValue ParseFilterType(std::string_view typed) {
  for (std::size_t item = 0; item < kFilterTypeItems.size(); ++item) {
    if (EqualsIgnoringCase(kFilterTypeItems[item].text, typed)) {
      return Accept(FilterTypeCode(Filter, static_cast<int>(item)));
    }
  }
  if (typed == "off") return Accept(FilterTypeCode(Filter, 0));
  return Refuse("not a filter type");
}

std::string FilterTypeNames() {
  return Joined(kFilterTypeItems, ", ", [](const FilterTypeItem& item) { return item.text; });
}

template <CutFilter Filter>
std::optional<int> FilterTypeIndex(std::uint16_t raw) {
  return FilterTypeItemForCode(Filter, raw);
}
template <CutFilter Filter>
std::uint16_t FilterTypeAt(int item) {
  return FilterTypeCode(Filter, item);
}
template <CutFilter Filter>
constexpr NumberMeaning FilterTypeNumbers() {
  return Counted<static_cast<int>(kFilterTypeItems.size()) - 1, FilterTypeIndex<Filter>, FilterTypeAt<Filter>>();
}

/// A cut filter switched off is 0 Hz, its slider's bottom row.
std::optional<double> CutFrequencyHz(std::uint16_t raw) {
  return raw == kFilterOffRaw ? 0 : DecodeFilterFrequency(raw);
}
ParsedValue CutFrequencyFrom(double hz) {
  if (hz == 0) return Accept(kFilterOffRaw);
  return MeasuredNumber(hz, CutFrequencyRange(), EncodeFilterFrequency);
}
std::optional<int> CutFrequencyRow(std::uint16_t raw) { return FilterRowForRaw(raw); }

std::optional<double> BandFrequencyHz(std::uint16_t raw) { return DecodeFrequency(raw); }
std::optional<double> BandGainDb(std::uint16_t raw) { return DecodeGainDb(raw); }
std::optional<double> BandQNumber(std::uint16_t raw) { return DecodeQ(raw); }

std::string CutFrequencyText(std::uint16_t raw) {
  return raw == kFilterOffRaw ? "OFF" : FrequencyText(DecodeFilterFrequency(raw));
}

ParsedValue ParseCutFrequency(std::string_view typed) {
  if (OnOffWord(typed) == false) return Accept(kFilterOffRaw);
  return Measured(typed, CutFrequencyRange(), [](double hz) { return static_cast<int>(EncodeFilterFrequency(hz)); });
}

// ---- Effects ----

constexpr auto kFeedbackTop = static_cast<std::uint16_t>(kFeedbackSuppressorTop);
constexpr auto kProgramTop = static_cast<std::uint16_t>(kLastProgram);

std::string FeedbackText(std::uint16_t raw) {
  if (raw > kFeedbackTop) return std::to_string(raw);
  return raw == 0 ? "OFF" : "FB" + std::to_string(raw);
}

ParsedValue ParseFeedback(std::string_view typed) {
  if (typed == "off") return Accept(0);
  return Coded(ParseWholeNumber(typed.starts_with("fb") ? typed.substr(2) : typed, kFeedbackTop));
}

/// "REVERB HALL" … as the effect-return editor's selector offers them; the number outside 1..36.
template <EffectProgramList List>
std::string ProgramText(std::uint16_t raw) {
  if (raw == 0 || raw > kProgramTop) return std::to_string(raw);
  return ProgramEntries(List)[raw - 1U];
}

template <EffectProgramList List>
ParsedValue ParseProgram(std::string_view typed) {
  const std::vector<std::string> names = ProgramEntries(List);
  for (std::size_t program = 0; program < kProgramTop && program < names.size(); ++program) {
    if (EqualsIgnoringCase(names[program], typed)) return Accept(static_cast<long>(program + 1));
  }
  const auto number = ParseWholeNumber(typed, kProgramTop);
  if (!number || *number == 0) return Refuse("not a program");
  return Accept(static_cast<long>(*number));
}

std::string ProgramTypeText(std::uint16_t raw) {
  if (!IsKnownProgramType(raw)) return std::to_string(raw);
  return std::to_string(raw) + " (" + ProgramTypeName(raw) + ")";
}

/// Typed as printed: the number, then (ignored) what it means in brackets.
template <unsigned long (*Top)()>
ParsedValue ParseLeadingNumber(std::string_view typed) {
  return Coded(ParseWholeNumber(typed.substr(0, typed.find(' ')), Top()));
}
unsigned long ProgramTypeTop() { return kLastProgramType; }
unsigned long Parameter1Top() { return static_cast<unsigned long>(HighestParameter1Top()); }
unsigned long Parameter2Top() { return kProgramParameter2Top; }

// ---- System ----

std::string PflBusText(std::uint16_t raw) {
  std::string text;
  std::uint16_t known = 0;
  for (const CodeWord& bit : kPflBusBits) {
    known |= bit.code;
    if ((raw & bit.code) == 0) continue;
    if (!text.empty()) text += ' ';
    text += bit.word;
  }
  // Bits of the console's own (bit 7 follows MAIN) are shown so that nothing is hidden.
  if ((raw & ~known) != 0) {
    char extra[16];
    std::snprintf(extra, sizeof extra, "0x%04X", static_cast<unsigned>(raw & ~known));
    if (!text.empty()) text += ' ';
    text += extra;
  }
  return text.empty() ? "none" : text;
}

ParsedValue ParsePflBus(std::string_view typed) {
  if (typed == "none") return Accept(0);
  long bits = 0;
  for (const std::string& word : Words(typed)) {
    // The console's own bits type back as they are printed (MAIN in PFL reads "MAIN 0x0080").
    if (word.starts_with("0x")) {
      const auto shown = ParseWholeNumber(word, 0xFFFF);
      if (!shown) return Refuse("not a bus of the PFL word");
      bits |= static_cast<long>(*shown);
      continue;
    }
    const auto bit = CodeOfWord(kPflBusBits, word);
    if (!bit || std::to_string(*bit) == word) return Refuse("not a bus of the PFL word");
    bits |= *bit;
  }
  return Accept(bits);
}

ParsedValue ParseSystemNoiseGate(std::string_view typed) {
  const auto value = ParseWholeNumber(typed, 0xFFFF);
  if (!value) return Refuse("not a number");
  const auto position = SystemNoiseGatePosition(static_cast<std::uint16_t>(*value));
  if (!position || kSystemNoiseGateSteps[static_cast<std::size_t>(*position)] != *value) {
    return Refuse("not one of the selector's values");
  }
  return Accept(static_cast<long>(*value));
}

std::optional<int> SystemNoiseGateStep(std::uint16_t raw) {
  const auto position = SystemNoiseGatePosition(raw);
  if (!position || kSystemNoiseGateSteps[static_cast<std::size_t>(*position)] != raw) return std::nullopt;
  return position;
}
std::uint16_t SystemNoiseGateAt(int step) { return kSystemNoiseGateSteps[static_cast<std::size_t>(step)]; }

/// Its number is the value stored, as typed; its steps are the selector's.
constexpr NumberMeaning kSystemNoiseGateNumbers{
    [](std::uint16_t raw) -> std::optional<double> {
      if (!SystemNoiseGateStep(raw)) return std::nullopt;
      return raw;
    },
    [](double number) {
      if (!std::isfinite(number) || number != std::floor(number) || number < 0 || number > 0xFFFF) {
        return Refuse("not a whole number");
      }
      return ParseSystemNoiseGate(std::to_string(static_cast<long>(number)));
    },
    true,
    false,
    Constant<static_cast<int>(kSystemNoiseGateSteps.size()) - 1>,
    SystemNoiseGateStep,
    SystemNoiseGateAt};

std::string SystemNoiseGateSteps() {
  return Joined(kSystemNoiseGateSteps, " ", [](std::uint16_t step) { return std::to_string(step); });
}

constexpr std::uint16_t kModeTop = 12;

std::string Number(std::uint16_t raw) { return std::to_string(raw); }
template <unsigned long Top>
ParsedValue ParseNumber(std::string_view typed) {
  return Coded(ParseWholeNumber(typed, Top));
}

constexpr const char* kSliderSteps = " (slider steps; the program type gives their meaning)";

// One entry per kind, in the order of ValueKind.
constexpr ValueKindMeaning kMeanings[] = {
    {ValueKind::kRaw, Number, ParseNumber<0xFFFF>, [] { return std::string("0..65535"); }, nullptr,
     CountedWords<0, 0xFFFF>()},
    {ValueKind::kLevel, LevelText, ParseLevel, [] { return MeasuredRange<LevelRange>() + ", -inf"; }, LevelRange,
     LevelNumbers(kWholeWord)},
    {ValueKind::kAuxSend,
     [](std::uint16_t raw) { return LevelText(raw) + (AuxSendState(raw).postFader ? " post" : " pre"); }, ParseAuxSend,
     [] { return MeasuredRange<LevelRange>() + ", -inf; pre|post"; }, LevelRange,
     LevelNumbers(static_cast<std::uint16_t>(~kPreFaderFlag))},
    {ValueKind::kPan, PanText, ParsePan, [] { return std::string("L100..C..R100 (raw 0..200)"); }, nullptr,
     CountedWords<0, kBalanceMax>(true)},
    {ValueKind::kSwitches, SwitchesText<true>, ParseSwitches<true>,
     [] { return std::string("ON|OFF (mute), 48V|48V-OFF (phantom power)"); }, nullptr,
     SwitchNumbers<Muted, kSwitchesKeptBits, kSwitchesKeptBits | kChannelOnBit>(kChannelOnBit)},
    {ValueKind::kSwitchesNo48V, SwitchesText<false>, ParseSwitches<false>, [] { return std::string("ON|OFF (mute)"); },
     nullptr, SwitchNumbers<Muted, kSwitchesKeptBits, kSwitchesKeptBits | kChannelOnBit>(kChannelOnBit)},
    // The name says mute: ON writes "bus off".
    {ValueKind::kOnWord, OnWhenZero, ParseSwitch<0, 1>, [] { return std::string("ON|OFF (mute)"); }, nullptr,
     SwitchNumbers<IsZero, 0, 1>()},
    {ValueKind::kRouted, OnWhenNonZero, ParseSwitch<kRoutedOn, 0>, [] { return std::string("ON|OFF"); }, nullptr,
     SwitchNumbers<NonZero, kRoutedOn, 0>()},
    {ValueKind::kPfl, [](std::uint16_t raw) { return OnOff(PflOn(raw)); },
     [](std::string_view typed) {
       return Owning(ParseSwitch<kPflConsoleBit | kRoutedOn, kPflConsoleBit>(typed),
                     static_cast<std::uint16_t>(~kPflConsoleBit));
     },
     [] { return std::string("ON|OFF"); }, nullptr,
     SwitchNumbers<PflOn, kPflConsoleBit | kRoutedOn, kPflConsoleBit>(static_cast<std::uint16_t>(~kPflConsoleBit))},
    {ValueKind::kSwitch, OnWhenNonZero, ParseSwitch<1, 0>, [] { return std::string("ON|OFF"); }, nullptr,
     SwitchNumbers<NonZero, 1, 0>()},
    // Read as the button's caption: pressed (1) shows "OFF".
    {ValueKind::kEqSwitch, OnWhenZero, ParseSwitch<0, 1>,
     [] { return std::string("ON|OFF (the EQ button's caption)"); }, nullptr, SwitchNumbers<IsZero, 0, 1>()},
    {ValueKind::kNoiseGate, [](std::uint16_t raw) { return Printf("%.0f dB", *NoiseGateDb(raw)); },
     ParseMeasured<NoiseGateRange, NoiseGateWord>, MeasuredRange<NoiseGateRange>, NoiseGateRange,
     MeasuredNumbers<NoiseGateRange, NoiseGateWord, NoiseGateDb>()},
    {ValueKind::kGainStep, GainStepText, ParseMeasured<GainStepRange, GainStepWord>, MeasuredRange<GainStepRange>,
     GainStepRange, MeasuredNumbers<GainStepRange, GainStepWord, GainStepDb>()},
    {ValueKind::kDelay, [](std::uint16_t raw) { return Printf("%.2f ms", *DelayMs(raw)); },
     ParseMeasured<DelayRange, DelayWord>, MeasuredRange<DelayRange>, DelayRange,
     MeasuredNumbers<DelayRange, DelayWord, DelayMs>()},
    {ValueKind::kTime, [](std::uint16_t raw) { return Printf("%.1f ms", *TimeMs(raw)); },
     ParseMeasured<TimeRange, TenthsRaw>, MeasuredRange<TimeRange>, TimeRange,
     MeasuredNumbers<TimeRange, TenthsRaw, TimeMs>()},
    {ValueKind::kThreshold, [](std::uint16_t raw) { return Printf("%.1f dBu", *ThresholdDbu(raw)); },
     ParseMeasured<ThresholdRange, ThresholdWord>, MeasuredRange<ThresholdRange>, ThresholdRange,
     MeasuredNumbers<ThresholdRange, ThresholdWord, ThresholdDbu>()},
    {ValueKind::kRatio, RatioText, ParseRatio, [] { return MeasuredRange<RatioRange>() + " (nearest step); on|off"; },
     RatioRange,
     {RatioNumber, MeasuredFrom<RatioRange, RatioWord>, false, true, Constant<kRatioTop>, RatioStep, RatioStepRaw,
      static_cast<std::uint16_t>(~kCompressorOffFlag)}},
    {ValueKind::kHpfType, FilterTypeText<CutFilter::kHighPass>, ParseFilterType<CutFilter::kHighPass>, FilterTypeNames,
     nullptr, FilterTypeNumbers<CutFilter::kHighPass>()},
    {ValueKind::kLpfType, FilterTypeText<CutFilter::kLowPass>, ParseFilterType<CutFilter::kLowPass>, FilterTypeNames,
     nullptr, FilterTypeNumbers<CutFilter::kLowPass>()},
    {ValueKind::kCutFrequency, CutFrequencyText, ParseCutFrequency,
     [] { return MeasuredRange<CutFrequencyRange>() + ", OFF"; }, CutFrequencyRange,
     {CutFrequencyHz, CutFrequencyFrom, false, true, Constant<kFilterTopRow>, CutFrequencyRow, FilterRowRaw}},
    {ValueKind::kBandFrequency, [](std::uint16_t raw) { return FrequencyText(DecodeFrequency(raw)); },
     ParseMeasured<BandFrequencyRange, BandFrequencyRaw>, MeasuredRange<BandFrequencyRange>, BandFrequencyRange,
     {BandFrequencyHz, MeasuredFrom<BandFrequencyRange, BandFrequencyRaw>, false, true,
      Constant<static_cast<int>(BandFrequencyStepTable.size()) - 1>,
      NearestEntry<BandFrequencyStepTable, DecodeFrequency>, EntryRaw<BandFrequencyStepTable, BandFrequencyRaw>}},
    {ValueKind::kBandGain, [](std::uint16_t raw) { return Printf("%.1f dB", DecodeGainDb(raw)); },
     ParseMeasured<BandGainRange, BandGainRaw>, MeasuredRange<BandGainRange>, BandGainRange,
     MeasuredNumbers<BandGainRange, BandGainRaw, BandGainDb>()},
    {ValueKind::kBandQ, [](std::uint16_t raw) { return Printf("%.2f", DecodeQ(raw)); },
     ParseMeasured<BandQRange, BandQRaw>, MeasuredRange<BandQRange>, BandQRange,
     {BandQNumber, MeasuredFrom<BandQRange, BandQRaw>, false, true, Constant<static_cast<int>(QStepTable.size()) - 1>,
      NearestEntry<QStepTable, DecodeQ>, EntryRaw<QStepTable, BandQRaw>}},
    {ValueKind::kBandType, CodeText<kBandTypes>, ParseCode<kBandTypes>, CodeNames<kBandTypes>, nullptr,
     CodeNumbers<kBandTypes>()},
    {ValueKind::kFeedback, FeedbackText, ParseFeedback, [] { return std::string("OFF, FB1..FB5"); }, nullptr,
     CountedWords<0, kFeedbackTop>()},
    // A program by its number, as typed and as the selector lists them.
    {ValueKind::kProgramA, ProgramText<EffectProgramList::A>, ParseProgram<EffectProgramList::A>,
     [] { return std::string("1..36 or the program's name"); }, nullptr, CountedWords<1, kProgramTop>()},
    {ValueKind::kProgramB, ProgramText<EffectProgramList::B>, ParseProgram<EffectProgramList::B>,
     [] { return std::string("1..36 or the program's name"); }, nullptr, CountedWords<1, kProgramTop>()},
    {ValueKind::kProgramType, ProgramTypeText, ParseLeadingNumber<ProgramTypeTop>, [] { return std::string("0..36"); }},
    {ValueKind::kEffectParameter1, Number, ParseLeadingNumber<Parameter1Top>,
     [] { return "0.." + std::to_string(Parameter1Top()) + kSliderSteps; }},
    {ValueKind::kEffectParameter2, Number, ParseLeadingNumber<Parameter2Top>,
     [] { return "0.." + std::to_string(Parameter2Top()) + kSliderSteps; }},
    {ValueKind::kPflBus, PflBusText, ParsePflBus, [] { return std::string("none or any of AUX1..AUX6 MAIN FX1 FX2"); }},
    {ValueKind::kFootSwitch, CodeText<kFootSwitch>, ParseCode<kFootSwitch>, CodeNames<kFootSwitch>, nullptr,
     CodeNumbers<kFootSwitch>()},
    {ValueKind::kRecorder, CodeText<kRecorder>, ParseCode<kRecorder>, CodeNames<kRecorder>, nullptr,
     CodeNumbers<kRecorder>()},
    {ValueKind::kSystemNoiseGate, Number, ParseSystemNoiseGate, SystemNoiseGateSteps, nullptr, kSystemNoiseGateNumbers},
    {ValueKind::kMode, [](std::uint16_t raw) { return raw == 0 ? std::string("none") : std::to_string(raw); },
     [](std::string_view typed) { return typed == "none" ? Accept(0) : ParseNumber<kModeTop>(typed); },
     [] { return std::string("none, 1..12"); }, nullptr, CountedWords<0, kModeTop>()},
};

constexpr bool EachKindAtItsIndex() {
  for (std::size_t i = 0; i < std::size(kMeanings); ++i) {
    if (static_cast<std::size_t>(kMeanings[i].kind) != i) return false;
  }
  return kMeanings[std::size(kMeanings) - 1].kind == ValueKind::kLast;
}
static_assert(EachKindAtItsIndex(), "kMeanings lists every ValueKind in order");

}  // namespace

const ValueKindMeaning& MeaningOf(ValueKind kind) { return kMeanings[static_cast<std::size_t>(kind)]; }

}  // namespace rmt4
