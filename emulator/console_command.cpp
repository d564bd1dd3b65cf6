#include "emulator/console_command.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace rmt4::emulator {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t\r", at);
    if (at == std::string_view::npos) return words;
    const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
}

std::optional<std::uint32_t> Number(std::string_view word, std::uint32_t max) {
  int base = 10;
  if (word.starts_with("0x") || word.starts_with("0X")) {
    word.remove_prefix(2);
    base = 16;
  }
  std::uint32_t number = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number, base);
  if (word.empty() || error != std::errc{} || end != word.data() + word.size() || number > max) return std::nullopt;
  return number;
}

}  // namespace

ParsedConsoleCommand ParseConsoleCommand(std::string_view line) {
  using Kind = ConsoleCommand::Kind;
  const std::vector<std::string_view> words = Words(line);
  if (words.empty()) return std::monostate{};
  const std::string_view verb = words[0];
  const auto arguments = words.size() - 1;
  const auto expect = [&](std::size_t count) { return arguments == count; };

  if (verb == "set" && expect(2)) {
    const auto address = Number(words[1], kParamCount - 1);
    const auto value = Number(words[2], 0xFFFF);
    if (!address) return "error: address must be 0.." + std::to_string(kParamCount - 1);
    if (!value) return std::string("error: value must be 0..65535");
    return ConsoleCommand{Kind::Set, static_cast<ParamAddress>(*address), static_cast<std::uint16_t>(*value), {}};
  }
  if (verb == "get" && expect(1)) {
    const auto address = Number(words[1], kParamCount - 1);
    if (!address) return "error: address must be 0.." + std::to_string(kParamCount - 1);
    return ConsoleCommand{Kind::Get, static_cast<ParamAddress>(*address), 0, {}};
  }
  if (verb == "silence" && arguments <= 1) {
    ConsoleCommand command{Kind::Silence, 0, 0, {}};
    if (arguments == 1) {
      const auto milliseconds = Number(words[1], 24u * 3600 * 1000);
      if (!milliseconds) return std::string("error: silence takes milliseconds up to one day");
      command.duration = std::chrono::milliseconds(*milliseconds);
    }
    return command;
  }
  if (verb == "peer" && expect(0)) return ConsoleCommand{Kind::Peer, 0, 0, {}};
  if (verb == "unplug" && expect(0)) return ConsoleCommand{Kind::Unplug, 0, 0, {}};
  if (verb == "talk" && expect(0)) return ConsoleCommand{Kind::Talk, 0, 0, {}};
  if (verb == "quit" && expect(0)) return ConsoleCommand{Kind::Quit, 0, 0, {}};
  return "error: unknown command '" + std::string(line) +
         "' (set ADDR VALUE, get ADDR, peer, unplug, silence [MS], talk, quit)";
}

}  // namespace rmt4::emulator
