#pragma once

// Parameter names on the command line: get/set/watch words with names,
// wildcards and values in units become the numeric command that runs, and
// values print with their names and units.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "protocol/address_map.h"
#include "values/param_bits.h"
#include "values/param_catalogue.h"

namespace rmt4::ctl {

struct ResolvedCommand {
  std::vector<std::string> words;     ///< the command with addresses and raw words only
  bool named = false;                 ///< print "name: value" lines (a name or pattern was given, no --raw)
  std::vector<ParamAddress> watched;  ///< watch: only these addresses; empty = all
  /// get and watch: for each address read or watched, the bit name it prints as (null: the word's own name).
  std::vector<const BitParam*> readAs;
  /// set: words whose value names only these bits; the others are kept as the
  /// console holds them, and a companion gets the word written.
  std::map<ParamAddress, std::uint16_t> ownBits;
  std::string error;                  ///< why the command is refused; nothing may be sent then
};

/// Resolves get, set and watch; other commands pass unchanged. With `raw`,
/// values are raw words and lines print as "ADDR VALUE".
[[nodiscard]] ResolvedCommand ResolveNames(const std::vector<std::string>& command, bool raw);

/// "ch1.fader: -6.0 dB" when named, else "50 1140"; `valueAt` gives the
/// words other readings depend on (an effect parameter's program type).
/// With `bits`, the bit name's line: "ch1.48v: ON".
[[nodiscard]] std::string ParamLine(ParamAddress address, std::uint16_t value, bool named, const ValueAt& valueAt,
                                    const BitParam* bits = nullptr);

/// `names [PATTERN]`: one line per parameter: name, address, what it takes.
[[nodiscard]] bool IsNamesCommand(const std::vector<std::string>& command);
[[nodiscard]] int ListNames(const std::vector<std::string>& command);

}  // namespace rmt4::ctl
