#include "values/own_bits.h"

#include "values/param_catalogue.h"

namespace rmt4 {

std::uint16_t StoreOwnBits(ParamTable& table, ParamAddress address, std::uint16_t value, std::uint16_t own,
                           std::optional<ParamAddress> companion) {
  ParamSet(table, address, ReplaceOwnBits(table.Value(address), value, own));
  // The table's own rules may adjust the word (the PFL bus word's MAIN bits): the companion gets what was stored.
  const std::uint16_t stored = table.Value(address);
  if (companion) ParamSet(table, *companion, stored);
  return stored;
}

void StoreRequestedEdits(ParamTable& table, std::span<const RequestedEdit> edits) {
  for (const RequestedEdit& edit : edits) {
    if (edit.own == kWholeWord) {
      ParamSet(table, edit.address, edit.value);
    } else {
      StoreOwnBits(table, edit.address, edit.value, edit.own, ParamAt(edit.address).companion);
    }
  }
}

}  // namespace rmt4
