#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "emulator/fault_plan.h"
#include "emulator/module_text.h"
#include "protocol/address_map.h"

namespace rmt4::emulator {

/// Everything the command line sets.
struct Options {
  Ipv4 address = 0x7F000002;  // 127.0.0.2
  std::uint16_t tcpPort = 6010;
  std::uint16_t udpPort = 1010;
  bool pty = false;
  /// A symbolic link kept pointing at the current pseudo-terminal (implies pty).
  std::optional<std::string> ptyLinkPath;
  std::uint16_t deviceType = kSupportedDeviceType;
  std::uint32_t modeLockMask = 0;
  std::uint32_t seed = 1;
  bool verbose = false;
  FaultOptions faults;
  bool startSilent = false;
  std::uint64_t paceBytesPerSecond = 0;
  /// A fault: reads never answer this address.
  std::optional<ParamAddress> unansweredAddress;
};

/// The outcome of reading the command line: options to run with, a request
/// for help, or an error text.
struct ParsedCommandLine {
  std::optional<Options> options;
  bool help = false;
  std::string error;
  bool version = false;
};

/// Reads the arguments after the program name. Every option takes
/// "--name value" or "--name=value".
[[nodiscard]] ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);

/// The --help text.
[[nodiscard]] std::string UsageText();

}  // namespace rmt4::emulator
