#include "cli/ctl_options.h"

#include <charconv>
#include <cmath>

#include "rmt4_version.h"
#include "values/param_catalogue.h"

namespace rmt4::ctl {
namespace {

bool IsOption(const std::string& word) { return word.size() > 1 && word[0] == '-' && word.find('=') == std::string::npos; }

std::optional<double> PositiveSeconds(const std::string& text) {
  double seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || !(seconds > 0) || !std::isfinite(seconds)) {
    return std::nullopt;
  }
  return seconds;
}

/// Takes `scene upload`'s own options out of `command` into `options`; the refusal, or empty.
std::string TakeSceneUploadOptions(std::vector<std::string>& command, CtlOptions& options) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const std::string& word = command[i];
    if (word == "--dry-run") {
      options.dryRun = true;
    } else if (word == "--only" || word == "--except") {
      if (i + 1 >= command.size()) return word + " needs a name pattern";
      const std::string& pattern = command[++i];
      if (!PatternNamesAny(pattern)) return word + ": " + UnknownParamText(pattern);
      (word == "--only" ? options.scope.only : options.scope.except).push_back(pattern);
    } else if (IsOption(word)) {
      return "unknown option '" + word + "' for scene upload";
    } else {
      rest.push_back(word);
    }
  }
  command = std::move(rest);
  return {};
}

}  // namespace

std::string UsageText() {
  return R"(usage: rmt4ctl [--usb | --serial [DEVICE] | --net [ADDRESS]] [--timeout SECONDS] [--yes] [--verbose]
               [--trace FILE] COMMAND

Remote control of an RMT-4 mixing console from scripts and terminals.

Transport (default: the one stored by the program's System window):
  --usb                 USB HID
  --serial [DEVICE]     serial port; DEVICE limits the search to that port
  --net [ADDRESS]       network; ADDRESS asks only that console (no broadcast, no sweep)
Options:
  --timeout SECONDS     give up when no console answers in time (default 10)
  --yes                 answer Yes to the console's questions (default No)
  --verbose             print link states and progress on standard error
  --raw                 addresses and raw words in and out ("ADDR VALUE")
  --trace FILE          record every frame and link event in FILE (and FILE.1,
                        each up to 4 MiB); overrides RMT4_TRACE

Commands:
  status                       connect, read everything, print identity and timings
  get PARAM...                 print each parameter's value ("ADDR VALUE" for addresses)
  set PARAM=VALUE...           write values and confirm the console holds them
  set --fade SECONDS PARAM=VALUE...
                               move levels (and other values with a range) there
                               smoothly; a move on the console stops the fade (exit 1)
  dump                         print "ADDR VALUE" for all 1574 addresses
  watch [SECONDS] [PARAM...]   print values as they change (meters excepted)
  names [PATTERN]              list the parameter names: name, address, section, values
  modes                        list the twelve stored modes
  mode recall N                recall mode N (1..12)
  mode rename N NAME           rename mode N
  fx recall|store 1|2 N        recall or store effect program N of engine 1 or 2
  scene save PATH              save the console's state into a scene file
  scene upload PATH [--only PATTERN]... [--except PATTERN]... [--dry-run]
                               write a scene file to the console: only the values
                               PATTERN names with --only, none --except names, never
                               a safe; print each change "name: old → new"; with
                               --dry-run print them and write nothing (exit 1 when
                               there are any); exit 1 when the console did not
                               confirm one (listed on standard error)
  scene show PATH              print a scene file's header and values (offline)
  scene diff A [B]             what differs from scene file A to B (offline) or to the
                               console, "name: old → new"; exit 0 equal, 1 different
  safe list|add PATTERN|remove PATTERN
                               the safes: patterns no scene upload writes (offline;
                               the 48V of every channel, ch*.48v, until changed)
  history [--since HH:MM] [PATTERN]
                               today's change log, oldest first (offline): time, who
                               (pc, console, undo, redo), undo step, name, old → new,
                               separated by tabs; PATTERN as for names
  netconf get                  print the network module's address, mask, gateway, MAC
  netconf set IP MASK GW MAC   change the network module's configuration (MAC as
                               00-11-22-33-44-55; GW 0.0.0.0 = no gateway)
  serve --osc PORT [--osc-bind ADDRESS] [--osc-allow CIDR]...
                               hold the link and serve it to OSC clients on UDP PORT
                               (0: any free one, printed) until Ctrl-C: /ch1/fader
                               reads, /ch1/fader -6 or ,s "-6dB" sets; ADDRESS to
                               listen on (default 127.0.0.1); CIDR (192.168.1.0/24)
                               limits who may send

PARAM is an address (0..1573), a name such as ch1.fader, ch7.eq2.freq, aux4.mute
(case-insensitive), a part of a word such as ch1.48v, ch1.send.aux1.pre, ch1.comp,
or a pattern such as 'ch7.eq*', 'ch[1-4].mute' or '*.mute'. Values of named
parameters are typed in units: ch1.fader=-6dB ch7.eq2.freq=1.2kHz ch1.hpf.type=Bessel-12dB;
a number given for an address is its raw word. Names print "name: value" in units.

Messages of the console become lines on standard error.

Exit codes:
  0  success
  1  the console refused or did not confirm the operation
  2  bad command line
  3  no console answered within the time limit
  4  a scene file could not be read
)";
}

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  CtlOptions options;
  auto usageError = [](std::string text) {
    return ParsedOptions{std::nullopt, kExitUsage, "rmt4ctl: " + text + "\nTry 'rmt4ctl --help'."};
  };
  std::size_t i = 0;
  // An optional value: the next word, when it is not an option or a command.
  auto optionalValue = [&](std::string& into) {
    if (i + 1 < arguments.size() && !IsOption(arguments[i + 1]) && arguments[i + 1].find_first_of("/.:") != std::string::npos) {
      into = arguments[++i];
    }
  };
  for (; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (!IsOption(word)) break;
    if (word == "--help" || word == "-h") return ParsedOptions{std::nullopt, kExitOk, UsageText()};
    if (word == "--version") return ParsedOptions{std::nullopt, kExitOk, std::string("rmt4ctl ") + kVersion};
    if (word == "--usb") {
      options.connectionKind = kUsbHid;
    } else if (word == "--serial") {
      options.connectionKind = 0;
      optionalValue(options.target);
    } else if (word == "--net") {
      options.connectionKind = kNetwork;
      optionalValue(options.target);
    } else if (word == "--timeout") {
      if (i + 1 >= arguments.size()) return usageError("--timeout needs a number of seconds");
      const std::string& text = arguments[++i];
      const std::optional<double> seconds = PositiveSeconds(text);
      if (!seconds) return usageError("--timeout needs a positive number of seconds, not '" + text + "'");
      options.timeoutSeconds = *seconds;
    } else if (word == "--yes" || word == "-y") {
      options.answerYes = true;
    } else if (word == "--raw") {
      options.raw = true;
    } else if (word == "--verbose" || word == "-v") {
      options.verbose = true;
    } else if (word == "--trace") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return usageError("--trace needs a file name");
      options.tracePath = arguments[++i];
    } else {
      return usageError("unknown option '" + word + "'");
    }
  }
  options.command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
  if (options.command.empty()) return usageError("no command given");
  if (options.command[0] == "set" && options.command.size() > 1 && options.command[1] == "--fade") {
    const std::string text = options.command.size() > 2 ? options.command[2] : std::string();
    options.fadeSeconds = PositiveSeconds(text);
    if (!options.fadeSeconds) return usageError("--fade needs a positive number of seconds, not '" + text + "'");
    options.command.erase(options.command.begin() + 1, options.command.begin() + 3);
  }
  if (options.command[0] == "scene" && options.command.size() > 1 && options.command[1] == "upload") {
    if (const std::string refusal = TakeSceneUploadOptions(options.command, options); !refusal.empty()) {
      return usageError(refusal);
    }
  }
  return ParsedOptions{options, kExitOk, {}};
}

}  // namespace rmt4::ctl
