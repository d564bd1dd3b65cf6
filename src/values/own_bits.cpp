#include "values/own_bits.h"

namespace rmt4 {

std::uint16_t StoreOwnBits(ParamTable& table, ParamAddress address, std::uint16_t value, std::uint16_t own,
                           std::optional<ParamAddress> companion) {
  ParamSet(table, address, ReplaceOwnBits(table.Value(address), value, own));
  // The table's own rules may adjust the word (the PFL bus word's MAIN bits): the companion gets what was stored.
  const std::uint16_t stored = table.Value(address);
  if (companion) ParamSet(table, *companion, stored);
  return stored;
}

}  // namespace rmt4
