#include "emulator/options.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

namespace rmt4::emulator {
namespace {

constexpr Ipv4 kLoopbackNet = 0x7F000000;
constexpr Ipv4 kLoopbackMask = 0xFF000000;

/// Decimal, or hexadecimal after "0x".
std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::uint64_t max) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || number > max) return std::nullopt;
  return number;
}

std::optional<double> ParseProbability(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double probability = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !(probability >= 0.0 && probability <= 1.0)) {
    return std::nullopt;
  }
  return probability;
}

using Setter = std::function<std::string(Options&, std::string_view)>;

template <typename Field>
Setter Number(Field Options::*field, std::uint64_t max = std::numeric_limits<Field>::max()) {
  return [field, max](Options& options, std::string_view value) -> std::string {
    const auto number = ParseUnsigned(value, max);
    if (!number) return "not a number up to " + std::to_string(max);
    options.*field = static_cast<Field>(*number);
    return {};
  };
}

Setter Flag(bool Options::*field) {
  return [field](Options& options, std::string_view) {
    options.*field = true;
    return std::string();
  };
}

Setter Probability(double FaultOptions::*field) {
  return [field](Options& options, std::string_view value) -> std::string {
    const auto probability = ParseProbability(value);
    if (!probability) return "not a probability between 0 and 1";
    options.faults.*field = *probability;
    return {};
  };
}

std::string SetAddress(Options& options, std::string_view value) {
  const auto address = ParseIpv4(value);
  if (!address) return "not a dotted IPv4 address";
  // The emulator serves on loopback only, so tests and demos never reach a real network.
  if ((*address & kLoopbackMask) != kLoopbackNet) return "not a loopback address (127.x.y.z)";
  options.address = *address;
  return {};
}

std::string SetDeviceType(Options& options, std::string_view value) {
  const auto type = ParseUnsigned(value, 0xFFFF);
  if (!type) return "not a number up to 65535";
  // The PC tells the two DeviceQuery reply forms apart by the first byte;
  // a device type whose high byte is 1 or 2 would read as the mode form.
  if ((*type >> 8) == 1 || (*type >> 8) == 2) return "device types 256..767 are indistinguishable from the mode reply";
  options.deviceType = static_cast<std::uint16_t>(*type);
  return {};
}

std::string SetUnansweredAddress(Options& options, std::string_view value) {
  const auto address = ParseUnsigned(value, kParamCount - 1);
  if (!address) return "not an address 0.." + std::to_string(kParamCount - 1);
  options.unansweredAddress = static_cast<ParamAddress>(*address);
  return {};
}

std::string SetDelay(Options& options, std::string_view value) {
  const auto milliseconds = ParseUnsigned(value, 600'000);
  if (!milliseconds) return "not a number of milliseconds up to 600000";
  options.faults.delay = std::chrono::milliseconds(*milliseconds);
  return {};
}

std::string SetPieces(Options& options, std::string_view value) {
  const auto bytes = ParseUnsigned(value, 4096);
  if (!bytes) return "not a number of bytes up to 4096";
  options.faults.pieceMaxBytes = *bytes;
  return {};
}

std::string SetPtyLink(Options& options, std::string_view value) {
  if (value.empty()) return "not a path";
  options.pty = true;
  options.ptyLinkPath = std::string(value);
  return {};
}

struct OptionEntry {
  std::string_view name;
  bool takesValue;
  Setter set;
};

const std::vector<OptionEntry>& OptionTable() {
  static const std::vector<OptionEntry> table = {
      {"--address", true, SetAddress},
      {"--tcp-port", true, Number(&Options::tcpPort)},
      {"--udp-port", true, Number(&Options::udpPort)},
      {"--pty", false, Flag(&Options::pty)},
      {"--pty-link", true, SetPtyLink},
      {"--device-type", true, SetDeviceType},
      {"--locked-modes", true, Number(&Options::modeLockMask)},
      {"--seed", true, Number(&Options::seed)},
      {"--verbose", false, Flag(&Options::verbose)},
      {"--drop-prob", true, Probability(&FaultOptions::dropProbability)},
      {"--corrupt-prob", true, Probability(&FaultOptions::corruptProbability)},
      {"--delay-ms", true, SetDelay},
      {"--delay-prob", true, Probability(&FaultOptions::delayProbability)},
      {"--pieces", true, SetPieces},
      {"--silent", false, Flag(&Options::startSilent)},
      {"--unanswered-address", true, SetUnansweredAddress},
      {"--pace-bps", true, Number(&Options::paceBytesPerSecond, 1'000'000'000)},
  };
  return table;
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view name = arguments[i];
    std::optional<std::string_view> inlineValue;
    if (const auto equals = name.find('='); equals != std::string_view::npos) {
      inlineValue = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (name == "--help" || name == "-h") return {std::nullopt, true, {}};
    if (name == "--version") return {std::nullopt, false, {}, true};
    const auto& table = OptionTable();
    const auto entry = std::find_if(table.begin(), table.end(), [&](const OptionEntry& e) { return e.name == name; });
    if (entry == table.end()) return {std::nullopt, false, "unknown option " + std::string(arguments[i])};
    std::string_view value;
    if (entry->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return {std::nullopt, false, std::string(name) + " needs a value"};
      }
    } else if (inlineValue) {
      return {std::nullopt, false, std::string(name) + " takes no value"};
    }
    if (std::string error = entry->set(options, value); !error.empty()) {
      return {std::nullopt, false, std::string(name) + ' ' + std::string(value) + ": " + error};
    }
  }
  return {options, false, {}};
}

std::string UsageText() {
  return R"(Usage: rmt4-console [options]

Emulates an RMT-4 mixing console and its network module, so that RMT-4 Remote
can be tried, tested and benchmarked without hardware.

Serves, on one loopback address:
  TCP  frames of the console protocol, one PC at a time
  UDP  the network module's text commands (Get_IP:, Get_Confi:, ...)
  a pseudo-terminal carrying the same frames as a serial port (--pty)

Options:
  --address A          loopback address to serve on (default 127.0.0.2)
  --tcp-port N         console port (default 6010; 0 = any free port)
  --udp-port N         module port (default 1010; 0 = any free port; ports
                       below 1024 need privileges)
  --pty                also offer a serial link on a pseudo-terminal
  --pty-link PATH      with --pty (implied): keep a symbolic link at PATH
                       pointing at the current pseudo-terminal, replaced when
                       "unplug" reopens it and removed on exit
  --device-type N      device type reported (default 20024)
  --locked-modes MASK  bit n set = mode n is locked: it can be recalled but
                       not renamed or overwritten (default 0)
  --seed N             seed for the level meters and the faults (default 1)
  --verbose            log connections and traffic in hex on standard error
  --help               this text

Faults, for testing the PC side:
  --drop-prob P        drop each reply with probability P (0..1)
  --corrupt-prob P     flip one bit of each reply with probability P
  --delay-ms MS        hold replies MS milliseconds (a stream keeps order)
  --delay-prob P       delay only with probability P (default 1)
  --pieces N           send stream bytes in random pieces of 1..N bytes
  --silent             start silent: ignore every request until "talk"
  --pace-bps N         send stream bytes no faster than N bytes per second,
                       as over a serial wire (12800 for 128000 bit/s)
  --unanswered-address A  leave address A out of every read and dump reply

Numbers may be written in hexadecimal with 0x.

Output: once serving, one line
  ready tcp=PORT udp=PORT
on standard output (with the actual ports), preceded with --pty by
  serial: PATH

Standard input, one command a line (end of input does not stop the program):
  set ADDR VALUE   change a parameter on the console, as a fader would; the
                   PC is told with an unsolicited value frame. Answers "ok".
  get ADDR         prints "ADDR VALUE"
  peer             prints "peer A.B.C.D" for the PC on TCP, or "peer none"
  unplug           drop the TCP connection, as if the cable were pulled;
                   answers "ok" (or "none" without a connection). With
                   --pty it also closes the pseudo-terminal, as a pulled
                   USB-serial adapter, and opens a fresh one (a new device
                   path) 300 ms later; it then answers "ok" and the links
                   pulled ("ok tcp serial", "ok serial") or "none" while
                   the serial cable is still out and no PC is on TCP
  silence [MS]     stop answering, for MS milliseconds or until "talk";
                   answers "ok"
  talk             answer again; answers "ok"
  quit             stop (SIGTERM and SIGINT stop it too)
A command it cannot read is answered with a line starting "error".
)";
}

}  // namespace rmt4::emulator
