#pragma once

#include <vector>

#include "modal_answer.h"
#include "protocol/address_map.h"
#include "protocol/param_table.h"

namespace rmt4::test {

/// The table's values now, to tell later which addresses an action wrote.
inline std::vector<std::uint16_t> Snapshot(const ParamTable& params) {
  std::vector<std::uint16_t> values(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = params.Value(a);
  return values;
}

/// Keeps the window's events flowing until some address differs from
/// `before` and returns those addresses (the meters, which move on their
/// own, never count); empty when nothing was written in time.
inline std::vector<ParamAddress> WaitForWrites(const ParamTable& params, const std::vector<std::uint16_t>& before,
                                               int limitMs = 2000) {
  std::vector<ParamAddress> written;
  PumpUntil(
      [&] {
        for (ParamAddress a = 0; a < kParamCount; ++a) {
          if (a != address::kLevelMeters && params.Value(a) != before[a]) written.push_back(a);
        }
        return !written.empty();
      },
      limitMs);
  return written;
}

}  // namespace rmt4::test
