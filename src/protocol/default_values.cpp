#include <array>
#include <cassert>
#include <span>
#include <initializer_list>

#include "protocol/address_map.h"

namespace rmt4 {
namespace {

using Defaults = std::array<std::uint16_t, kParamCount>;

// Writes values to consecutive addresses; the layout rules below are given
// as runs of values in address order.
class Filler {
 public:
  Filler(Defaults& table, int start) : table_(table), next_(start) {}

  Filler& Put(std::initializer_list<std::uint16_t> values) {
    for (std::uint16_t v : values) table_[static_cast<std::size_t>(next_++)] = v;
    return *this;
  }
  Filler& Repeat(std::uint16_t value, int count) {
    for (int i = 0; i < count; ++i) table_[static_cast<std::size_t>(next_++)] = value;
    return *this;
  }
  [[nodiscard]] int Next() const { return next_; }

 private:
  Defaults& table_;
  int next_;
};

constexpr std::uint16_t kBandType = 7;
constexpr std::uint16_t kFlatGain = 500;
constexpr std::uint16_t kUnityQ = 100;
constexpr std::uint16_t kFilterOff = 32768;
// 80.3 Hz in the tenth-of-a-hertz encoding (0x8000 + 803).
constexpr std::uint16_t kBand1Frequency = 33571;
constexpr std::array<std::uint16_t, 4> kInputBandFrequencies{kBand1Frequency, 630, 1000, 6000};
constexpr std::array<std::uint16_t, 13> kBusBandFrequencies{32973, 33087, 33274, 33571, 125, 198, 315,
                                                             490,   721,   1240,  1920,  3050,  4940};

void PutBands(Filler& fill, std::span<const std::uint16_t> frequencies) {
  for (std::uint16_t frequency : frequencies) fill.Put({kBandType, frequency, kFlatGain, kUnityQ});
}

void PutInputBlock(Defaults& table, int start) {
  Filler fill(table, start);
  fill.Put({12, 120, 0, 100, 0})
      .Repeat(1200, 6)
      .Put({1300, 1300, 32768, 32768, 1200, 1200, 0, 10, 10, 80, 500, 1, 20, kFilterOff, 21, 20600});
  PutBands(fill, kInputBandFrequencies);
}

void PutBusBlock(Defaults& table, int start, std::uint16_t fader) {
  Filler fill(table, start);
  fill.Put({fader, 1, 1, 0, 10, 10, 80, 500, 0, 0, 0, 1, 20, kFilterOff, 21, 20600});
  PutBands(fill, kBusBandFrequencies);
}

// The controls of one effect return from its main sends to its last band.
void PutEffectReturn(Filler& fill) {
  fill.Repeat(33968, 6).Put({1200, 1200, 1, 20, kFilterOff, 21, 20600});
  PutBands(fill, kInputBandFrequencies);
}

void PutEffectRecords(Defaults& table) {
  // Second and third words of records 0..31.
  constexpr std::array<std::array<std::uint16_t, 2>, 32> kFactoryWords{{
      {0, 78},  {0, 78},  {0, 78},  {0, 78},  {0, 78},  {30, 50}, {30, 50}, {30, 50},
      {30, 50}, {30, 50}, {78, 50}, {35, 50}, {25, 50}, {35, 50}, {35, 50}, {35, 50},
      {0, 78},  {0, 78},  {0, 78},  {0, 78},  {0, 78},  {30, 50}, {30, 50}, {30, 50},
      {30, 50}, {70, 50}, {78, 50}, {25, 50}, {35, 50}, {30, 50}, {35, 50}, {30, 50},
  }};
  constexpr int kRecordStart = 1215;
  constexpr int kRecordWords = 5;
  for (int record = 0; record < 72; ++record) {
    std::array<std::uint16_t, kRecordWords> words{};
    if (record < 32) {
      words = {static_cast<std::uint16_t>(record + 1), kFactoryWords[static_cast<std::size_t>(record)][0],
               kFactoryWords[static_cast<std::size_t>(record)][1], 0, 0};
    } else {
      words = {static_cast<std::uint16_t>(record < 52 ? 1 : 17), 0, 78, 0, 0};
    }
    for (int w = 0; w < kRecordWords; ++w) {
      const int address = kRecordStart + kRecordWords * record + w;
      if (address < static_cast<int>(kParamCount)) table[static_cast<std::size_t>(address)] = words[static_cast<std::size_t>(w)];
    }
  }
}

Defaults BuildDefaults() {
  Defaults table{};
  table[address::kDeviceType] = kSupportedDeviceType;
  table[address::kFx1Program] = 1;
  table[address::kFx2Program] = 1;
  table[40] = 17;
  table[41] = 17;

  for (int block = 0; block < 12; ++block) PutInputBlock(table, 46 + kInputBlockSize * block);
  for (int aux = 1; aux <= kAuxBusCount; ++aux) PutBusBlock(table, BusBlockBase(static_cast<Bus>(aux)), 0);
  PutBusBlock(table, address::kMainBus, 933);
  PutBusBlock(table, address::kMainBusLinked, 933);

  Filler extras(table, address::kMainBalance);
  extras.Put({100, 1100, 64, 32960, 0, 1, 1});
  PutEffectReturn(extras);
  extras.Put({1, 0, 78, 10, 0, 0, 1, 1});
  PutEffectReturn(extras);
  extras.Put({17, 0, 78, 10, 0, 100, 100, 30, 100, 30, 100, 30, 100, 30, 100, 30, 0, 1, 1, 0, 0, 0});
  assert(extras.Next() == 1201);

  Filler system(table, 1201);
  system.Put({18, 13398, 0, 1, 1, 1, 1000, 6, 1, 1, 65280, 3, 0, kSupportedDeviceType});

  PutEffectRecords(table);
  return table;
}

const Defaults& DefaultTable() {
  static const Defaults table = BuildDefaults();
  return table;
}

}  // namespace

std::uint16_t DefaultValue(ParamAddress address) {
  return IsValidAddress(address) ? DefaultTable()[address] : 0;
}

}  // namespace rmt4
