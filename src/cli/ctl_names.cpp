#include "cli/ctl_names.h"

#include <cstdio>
#include <iostream>

#include "cli/ctl_options.h"
#include "values/own_bits.h"
#include "values/param_catalogue.h"
#include "values/typed_text.h"

namespace rmt4::ctl {
namespace {

using Words = std::vector<std::string>;

/// The addresses a word stands for: a number, a name or a pattern.
struct Target {
  std::vector<ParamAddress> addresses;
  bool numeric = false;
};

std::optional<Target> TargetOf(std::string_view word, std::string& error) {
  if (const auto number = ParseWholeNumber(word, kParamCount - 1))
    return Target{{static_cast<ParamAddress>(*number)}, true};
  if (!word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos) {
    error = "no address " + std::string(word) + " (addresses are 0..1573)";
    return std::nullopt;
  }
  std::vector<ParamAddress> found;
  if (HasWildcard(word)) {
    found = MatchParams(word);
  } else if (const auto address = FindParam(word)) {
    found.push_back(*address);
  }
  if (found.empty()) {
    error = UnknownParamText(word);
    return std::nullopt;
  }
  return Target{found, false};
}

void ResolveGet(const Words& command, ResolvedCommand& resolved) {
  for (std::size_t i = 1; i < command.size(); ++i) {
    const auto target = TargetOf(command[i], resolved.error);
    if (!target) return;
    resolved.named |= !target->numeric;
    for (const ParamAddress a : target->addresses) resolved.words.push_back(std::to_string(a));
  }
}

void ResolveSet(const Words& command, bool raw, ResolvedCommand& resolved) {
  for (std::size_t i = 1; i < command.size(); ++i) {
    const std::string& word = command[i];
    const auto equals = word.find('=');
    if (equals == std::string::npos) {
      resolved.error = "set needs NAME=VALUE or ADDR=VALUE, not '" + word + "'";
      return;
    }
    const auto target = TargetOf(std::string_view(word).substr(0, equals), resolved.error);
    if (!target) return;
    const std::string valueText = word.substr(equals + 1);
    const auto rawValue = ParseWholeNumber(valueText, 0xFFFF);
    for (const ParamAddress address : target->addresses) {
      std::uint16_t value = 0;
      if (rawValue && (raw || target->numeric)) {
        value = static_cast<std::uint16_t>(*rawValue);  // a number for an address, or --raw: the word itself
      } else if (raw) {
        resolved.error = "with --raw, " + ParamAt(address).name + " takes a number 0..65535, not '" + valueText + "'";
        return;
      } else {
        const ParsedValue parsed = ParseValue(address, valueText);
        if (!parsed.raw) {
          resolved.error = parsed.error;
          return;
        }
        value = *parsed.raw;
        if (parsed.ownBits != kWholeWord) resolved.ownBits[address] = parsed.ownBits;
      }
      resolved.words.push_back(std::to_string(address) + "=" + std::to_string(value));
      // A number for an address writes that address alone, as it always did. The companion
      // of a word written in its own bits gets the word written, known only once it is read.
      const auto companion = ParamAt(address).companion;
      if (companion && !target->numeric && !resolved.ownBits.contains(address)) {
        resolved.words.push_back(std::to_string(*companion) + "=" + std::to_string(value));
      }
    }
  }
}

void ResolveWatch(const Words& command, bool raw, ResolvedCommand& resolved) {
  std::size_t first = 1;
  if (command.size() > 1 && ParseWholeNumber(command[1], 0xFFFFFFFFUL)) {
    resolved.words.push_back(command[1]);
    first = 2;
  }
  for (std::size_t i = first; i < command.size(); ++i) {
    const auto target = TargetOf(command[i], resolved.error);
    if (!target) return;
    resolved.watched.insert(resolved.watched.end(), target->addresses.begin(), target->addresses.end());
  }
  resolved.named = !raw && !resolved.watched.empty();
}

}  // namespace

ResolvedCommand ResolveNames(const Words& command, bool raw) {
  ResolvedCommand resolved;
  const std::string name = command.empty() ? std::string() : command[0];
  if (name != "get" && name != "set" && name != "watch") {
    resolved.words = command;
    return resolved;
  }
  resolved.words.push_back(name);
  if (name == "get") ResolveGet(command, resolved);
  if (name == "set") ResolveSet(command, raw, resolved);
  if (name == "watch") ResolveWatch(command, raw, resolved);
  resolved.named = resolved.named && !raw;
  return resolved;
}

std::string ParamLine(ParamAddress address, std::uint16_t value, bool named, const ValueAt& valueAt) {
  if (!named) return std::to_string(address) + " " + std::to_string(value);
  return ParamAt(address).name + ": " + FormatValue(address, value, valueAt);
}

bool IsNamesCommand(const Words& command) { return !command.empty() && command[0] == "names" && command.size() <= 2; }

int ListNames(const Words& command) {
  const std::string pattern = command.size() > 1 ? command[1] : "*";
  const std::vector<ParamAddress> found = MatchParams(pattern);
  if (found.empty()) {
    std::cerr << "rmt4ctl: no parameter matches '" << pattern << "'" << std::endl;
    return kExitUsage;
  }
  for (const ParamAddress address : found) {
    const ParamInfo& info = ParamAt(address);
    std::printf("%-22s %4u  %-8s %s\n", info.name.c_str(), unsigned{address},
                std::string(SectionName(info.section)).c_str(), ValueRangeText(address).c_str());
  }
  return kExitOk;
}

}  // namespace rmt4::ctl
