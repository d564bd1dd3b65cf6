#include "automation/osc_pending_edits.h"

#include <utility>

namespace rmt4 {

void OscPendingEdits::Add(const RequestedEdit& edit) {
  std::lock_guard lock(mutex_);
  if (edit.address >= kParamCount) return;
  int& slot = slots_[edit.address];
  if (slot < 0) {
    slot = static_cast<int>(edits_.size());
    edits_.push_back(edit);
    return;
  }
  RequestedEdit& same = edits_[static_cast<std::size_t>(slot)];
  same.value = ReplaceOwnBits(same.value, edit.value, edit.own);
  same.own = static_cast<std::uint16_t>(same.own | edit.own);
}

std::vector<RequestedEdit> OscPendingEdits::Take() {
  std::lock_guard lock(mutex_);
  for (const RequestedEdit& edit : edits_) slots_[edit.address] = -1;
  return std::exchange(edits_, {});
}

std::array<int, kParamCount> OscPendingEdits::FreeSlots() {
  std::array<int, kParamCount> slots{};
  slots.fill(-1);
  return slots;
}

}  // namespace rmt4
