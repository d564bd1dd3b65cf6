#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "protocol/address_map.h"

namespace rmt4::emulator {

/// One line of standard input, read.
struct ConsoleCommand {
  enum class Kind { Set, Get, Peer, Unplug, Silence, Talk, Quit };
  Kind kind;
  ParamAddress address = 0;
  std::uint16_t value = 0;
  /// For Silence: how long; nothing = until "talk".
  std::optional<std::chrono::milliseconds> duration;
};

/// A command, nothing for an empty line, or an error text.
using ParsedConsoleCommand = std::variant<std::monostate, ConsoleCommand, std::string>;

[[nodiscard]] ParsedConsoleCommand ParseConsoleCommand(std::string_view line);

}  // namespace rmt4::emulator
