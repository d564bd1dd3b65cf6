#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "protocol/address_map.h"

namespace rmt4 {

/// One mirrored parameter with its synchronisation state. The user thread,
/// the link worker and the transport reader all touch it without a lock, so
/// every field is atomic; no operation relies on two fields changing together.
struct ParamEntry {
  std::atomic<std::uint16_t> value{0};
  /// Sends without a matching reply; wraps to 0 after 10.
  std::atomic<std::uint8_t> retryCount{0};
  /// A value arrived (or a window forces a refresh) and the main window has not been told.
  std::atomic<bool> received{false};
  /// Changed on the PC, still to be written to the console.
  std::atomic<bool> dirty{false};
  /// Must be read from the console again.
  std::atomic<bool> rereadRequested{false};
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

  [[nodiscard]] std::uint16_t Value(ParamAddress address) const { return entries_[address].value.load(); }

  /// Counts one more unanswered send; returns false when the count wrapped,
  /// i.e. the address has been sent 11 times without an answer.
  bool CountSend(ParamAddress address);

  /// Clears `received` and `dirty` of every entry (a new connection starts).
  void ClearReceivedAndDirty();

 private:
  std::array<ParamEntry, kParamCount> entries_;
};

/// Stores a value edited on the PC and marks it for writing, applying the
/// console's linked addresses (MAIN fader and phase copies, the PFL bus word).
void ParamSet(ParamTable& table, ParamAddress address, std::uint16_t value);

}  // namespace rmt4
