#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {

/// One mirrored parameter with its synchronisation state. The user thread,
/// the link worker and the transport reader all touch it without a lock, so
/// every field is atomic. The value and its dirty flag share one word with an
/// edit count: an acknowledgement clears the flag only if no edit came after
/// the value it compared, so an edit can never be marked written unsent.
class ParamEntry {
 public:
  [[nodiscard]] std::uint16_t Value() const { return ValueOf(word_.load()); }
  /// Changed on the PC, still to be written to the console.
  [[nodiscard]] bool Dirty() const { return DirtyIn(word_.load()); }

  /// A value edited on the PC: stored and marked for writing in one step.
  void Edit(std::uint16_t value);
  /// A value from the console or the defaults; the dirty flag stays as it is.
  void Store(std::uint16_t value);
  void MarkDirty() { word_.fetch_or(kDirtyBit); }
  void ClearDirty() { word_.fetch_and(~kDirtyBit); }

  /// What a sender takes: the value it sends, and the word to give up with.
  [[nodiscard]] std::uint32_t Snapshot() const { return word_.load(); }
  [[nodiscard]] static std::uint16_t ValueOf(std::uint32_t snapshot) {
    return static_cast<std::uint16_t>(snapshot & 0xFFFFu);
  }
  [[nodiscard]] static bool DirtyIn(std::uint32_t snapshot) { return (snapshot & kDirtyBit) != 0; }
  /// The console echoed `echoed`: clears the dirty flag when the entry still
  /// holds that value and was not edited since. True when it cleared it.
  bool Acknowledge(std::uint16_t echoed);
  /// Clears the dirty flag unless the entry changed since `snapshot` (a
  /// newer edit is not given up with the old one). True when it cleared it.
  bool ClearDirtyIfUnchanged(std::uint32_t snapshot);

  /// Sends without a matching reply; wraps to 0 after 10.
  std::atomic<std::uint8_t> retryCount{0};
  /// A value arrived (or a window forces a refresh) and the main window has not been told.
  std::atomic<bool> received{false};
  /// Must be read from the console again.
  std::atomic<bool> rereadRequested{false};

 private:
  static constexpr std::uint32_t kDirtyBit = 1u << 16;
  static constexpr std::uint32_t kEditCountUnit = 1u << 17;

  /// Bits 0..15 value, bit 16 dirty, bits 17..31 a wrapping edit count.
  std::atomic<std::uint32_t> word_{0};
};

/// Told of every word the PC edits through ParamSet, on the editing thread
/// (the history listens: it groups the edits into undo steps).
class EditListener {
 public:
  virtual ~EditListener() = default;
  virtual void Edited(ParamAddress address, std::uint16_t before, std::uint16_t after) = 0;
};

/// The PC's mirror of the console's parameters.
class ParamTable {
 public:
  /// Every field cleared and every value set to its default.
  ParamTable();

  ParamTable(const ParamTable&) = delete;
  ParamTable& operator=(const ParamTable&) = delete;

  /// Clears every field and loads the defaults again.
  void LoadDefaults();

  /// Unchecked: callers pass addresses below kParamCount.
  [[nodiscard]] ParamEntry& operator[](ParamAddress address) { return entries_[address]; }
  [[nodiscard]] const ParamEntry& operator[](ParamAddress address) const { return entries_[address]; }

  [[nodiscard]] std::uint16_t Value(ParamAddress address) const { return entries_[address].Value(); }

  /// Counts one more unanswered send; returns false when the count wrapped,
  /// i.e. the address has been sent 11 times without an answer.
  bool CountSend(ParamAddress address);

  /// How many of the addresses below `end` wait to be written.
  [[nodiscard]] int CountDirty(ParamAddress end = kParamCount) const;

  /// Clears `received` and `dirty` of every entry (a new connection starts).
  /// Returns the addresses whose pending edits were dropped so; an edit made
  /// while this runs stays dirty rather than vanish unreported.
  std::vector<ParamAddress> ClearReceivedAndDirty();

  /// Set on the editing thread before it edits; none by default.
  void SetEditListener(EditListener* listener) { editListener_ = listener; }
  [[nodiscard]] EditListener* editListener() const { return editListener_; }

 private:
  std::array<ParamEntry, kParamCount> entries_;
  EditListener* editListener_ = nullptr;
};

/// Stores a value edited on the PC and marks it for writing, applying the
/// console's linked addresses (MAIN fader and phase copies, the PFL bus word).
void ParamSet(ParamTable& table, ParamAddress address, std::uint16_t value);

}  // namespace rmt4
