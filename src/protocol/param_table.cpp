#include "protocol/param_table.h"

#include <algorithm>

namespace rmt4 {
namespace {

constexpr std::uint8_t kRetryWrap = 10;

// Channels whose PFL word takes part in the PFL bus word: CH1..CH8, ST9/10,
// DIGTAL (offset 13 of each input block).
constexpr std::array<ParamAddress, 10> kPflGroup{59, 102, 145, 188, 231, 274, 317, 360, 403, 489};
constexpr std::uint16_t kPflMainBits = 0x00C0;
constexpr std::uint16_t kPflMainBit = 0x0040;
constexpr std::uint16_t kPflLevelMask = 0x3FFF;

bool IsPflGroupMember(ParamAddress address) {
  return std::find(kPflGroup.begin(), kPflGroup.end(), address) != kPflGroup.end();
}

// When nothing at all is listened to, the console listens to MAIN: the PC
// mirrors that so the main window shows the MAIN PFL as pressed.
void FallBackToMainPfl(ParamTable& table) {
  if (table.Value(address::kPflBus) != 0) return;
  const bool anyChannel = std::any_of(kPflGroup.begin(), kPflGroup.end(), [&](ParamAddress a) {
    return (table.Value(a) & kPflLevelMask) != 0;
  });
  if (anyChannel) return;
  table[address::kPflBus].Store(table.Value(address::kPflBus) | kPflMainBits);
  table[address::kPflBus].received.store(true);
}

// One word edited on the PC; its listener hears of it when the value changed.
void EditWord(ParamTable& table, ParamAddress address, std::uint16_t value) {
  const std::uint16_t before = table.Value(address);
  table[address].Edit(value);
  if (EditListener* listener = table.editListener(); listener != nullptr && before != value) {
    listener->Edited(address, before, value);
  }
}

}  // namespace

ParamTable::ParamTable() { LoadDefaults(); }

void ParamTable::LoadDefaults() {
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    ParamEntry& entry = entries_[a];
    entry.Store(DefaultValue(a));
    entry.ClearDirty();
    entry.retryCount.store(0);
    entry.received.store(false);
    entry.rereadRequested.store(false);
  }
}

bool ParamTable::CountSend(ParamAddress address) {
  std::atomic<std::uint8_t>& count = entries_[address].retryCount;
  const std::uint8_t before = count.load();
  if (before >= kRetryWrap) {
    count.store(0);
    return false;
  }
  count.store(static_cast<std::uint8_t>(before + 1));
  return true;
}

int ParamTable::CountDirty(ParamAddress end) const {
  int dirty = 0;
  for (ParamAddress a = 0; a < end && a < kParamCount; ++a) dirty += entries_[a].Dirty() ? 1 : 0;
  return dirty;
}

std::vector<ParamAddress> ParamTable::ClearReceivedAndDirty() {
  std::vector<ParamAddress> dropped;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    ParamEntry& entry = entries_[a];
    entry.received.store(false);
    const std::uint32_t snapshot = entry.Snapshot();
    if (ParamEntry::DirtyIn(snapshot) && entry.ClearDirtyIfUnchanged(snapshot)) dropped.push_back(a);
  }
  return dropped;
}

void ParamSet(ParamTable& table, ParamAddress address, std::uint16_t value) {
  if (address == address::kMainBus || address == address::kMainOn) {
    EditWord(table, address == address::kMainBus ? address::kMainBusLinked : address::kMainOnLinked, value);
  }
  if (address == address::kPflBus) {
    // Bit 7 follows bit 6 (MAIN PFL).
    value = (value & kPflMainBit) ? (value | kPflMainBits) : static_cast<std::uint16_t>(value & ~kPflMainBits);
  }
  EditWord(table, address, value);
  if (address == address::kPflBus || IsPflGroupMember(address)) FallBackToMainPfl(table);
}

void ParamEntry::Edit(std::uint16_t value) {
  std::uint32_t word = word_.load();
  while (!word_.compare_exchange_weak(word, ((word & ~0x1FFFFu) + kEditCountUnit) | kDirtyBit | value)) {
  }
}

void ParamEntry::Store(std::uint16_t value) {
  std::uint32_t word = word_.load();
  while (!word_.compare_exchange_weak(word, (word & ~0xFFFFu) | value)) {
  }
}

bool ParamEntry::Acknowledge(std::uint16_t echoed) {
  std::uint32_t word = word_.load();
  while ((word & kDirtyBit) != 0 && ValueOf(word) == echoed) {
    if (word_.compare_exchange_weak(word, word & ~kDirtyBit)) return true;
  }
  return false;
}

bool ParamEntry::ClearDirtyIfUnchanged(std::uint32_t snapshot) {
  return word_.compare_exchange_strong(snapshot, snapshot & ~kDirtyBit);
}

}  // namespace rmt4
