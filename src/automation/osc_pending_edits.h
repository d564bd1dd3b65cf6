#pragma once

#include <array>
#include <mutex>
#include <vector>

#include "values/own_bits.h"

namespace rmt4 {

/// Edits checked on the server's thread, waiting for the editing thread: at
/// most one per word, so a flood of messages cannot queue without bound. A
/// later edit of a word replaces the bits it owns, keeping its place.
class OscPendingEdits {
 public:
  void Add(const RequestedEdit& edit);
  /// The edits in the order their words were first asked for; empties the set.
  [[nodiscard]] std::vector<RequestedEdit> Take();

 private:
  mutable std::mutex mutex_;
  std::vector<RequestedEdit> edits_;
  /// Where each word's edit stands in `edits_`, -1 for none.
  std::array<int, kParamCount> slots_ = FreeSlots();

  static std::array<int, kParamCount> FreeSlots();
};

}  // namespace rmt4
