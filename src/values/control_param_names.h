#pragma once

// Which catalogue or bit name a control of the channel editor stands for,
// so the windows can say what a control edits in the words rmt4ctl uses.
// An empty name: the control edits no parameter for that channel.

#include <cstdint>
#include <optional>
#include <string>

#include "protocol/address_map.h"
#include "values/editor_header_writes.h"

namespace rmt4 {

/// The catalogue name of `address`; empty for none.
[[nodiscard]] std::string ParamNameOf(std::optional<ParamAddress> address);

/// The name of the bits `mask` of `address` ("ch1.48v", "sys.pfl.aux2"); empty for none.
[[nodiscard]] std::string BitNameAt(ParamAddress address, std::uint16_t mask);

/// The parameter of editor control `code` for channel `channel` (0..18). A
/// switch on a word that carries a switch bit (the compressor's on/off beside
/// its ratio, a send's pre/post beside its level) stands for that bit.
[[nodiscard]] std::string EditorControlParamName(int channel, int code, bool isSwitch);

/// The parameter of the editor frame's header control `headerCode` (a
/// header_code) for the channels `selection` shows.
[[nodiscard]] std::string HeaderParamName(const HeaderSelection& selection, int headerCode);

}  // namespace rmt4
