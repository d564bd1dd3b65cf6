#include "cli/ctl_names.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli/ctl_options.h"
#include "values/named_value_text.h"
#include "values/own_bits.h"
#include "values/param_bits.h"
#include "values/param_catalogue.h"
#include "values/typed_text.h"

namespace rmt4::ctl {
namespace {

using Words = std::vector<std::string>;

/// The addresses a word stands for: a number, a name or a pattern; for each,
/// the bit name it stands for (null: the whole word).
struct Target {
  std::vector<ParamAddress> addresses;
  std::vector<const BitParam*> bits;
  bool numeric = false;
};

/// The words' names and the bit names matching `pattern`, in address order, each word before its bits.
Target MatchTarget(std::string_view pattern) {
  Target target;
  const std::vector<const BitParam*> bits = MatchBitParams(pattern);
  auto nextBit = bits.begin();
  const auto addBitsBefore = [&](ParamAddress limit) {
    for (; nextBit != bits.end() && (*nextBit)->address < limit; ++nextBit) {
      target.addresses.push_back((*nextBit)->address);
      target.bits.push_back(*nextBit);
    }
  };
  for (const ParamAddress address : MatchParams(pattern)) {
    addBitsBefore(address);
    target.addresses.push_back(address);
    target.bits.push_back(nullptr);
  }
  addBitsBefore(static_cast<ParamAddress>(kParamCount));
  return target;
}

std::optional<Target> TargetOf(std::string_view word, std::string& error) {
  if (const auto number = ParseWholeNumber(word, kParamCount - 1))
    return Target{{static_cast<ParamAddress>(*number)}, {nullptr}, true};
  if (!word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos) {
    error = "no address " + std::string(word) + " (addresses are 0..1573)";
    return std::nullopt;
  }
  Target found;
  if (HasWildcard(word)) {
    found = MatchTarget(word);
  } else if (const auto address = FindParam(word)) {
    found = Target{{*address}, {nullptr}};
  } else if (const BitParam* bits = FindBitParam(word)) {
    found = Target{{bits->address}, {bits}};
  }
  if (found.addresses.empty()) {
    error = UnknownParamText(word);
    return std::nullopt;
  }
  return found;
}

void ResolveGet(const Words& command, ResolvedCommand& resolved) {
  for (std::size_t i = 1; i < command.size(); ++i) {
    const auto target = TargetOf(command[i], resolved.error);
    if (!target) return;
    resolved.named |= !target->numeric;
    for (const ParamAddress a : target->addresses) resolved.words.push_back(std::to_string(a));
    resolved.readAs.insert(resolved.readAs.end(), target->bits.begin(), target->bits.end());
  }
}

/// A write of one word, as the command's assignments to it add up.
struct WordWrite {
  ParamAddress address;
  std::uint16_t value;
  std::uint16_t own;
  bool numeric;
};

/// `write` after `earlier` to the same word: a part of it keeps the rest of the earlier value,
/// so "ch1.mute=off ch1.48v=on" is one write owning both bits.
void Merge(WordWrite& earlier, const WordWrite& write) {
  earlier.value = ReplaceOwnBits(earlier.value, write.value, write.own);
  earlier.own = earlier.own == kWholeWord ? kWholeWord : static_cast<std::uint16_t>(earlier.own | write.own);
  earlier.numeric = earlier.numeric && write.numeric;
}

void ResolveSet(const Words& command, bool raw, ResolvedCommand& resolved) {
  std::vector<WordWrite> writes;  // one per address, in the order first named
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
    for (std::size_t t = 0; t < target->addresses.size(); ++t) {
      WordWrite write{target->addresses[t], 0, kWholeWord, target->numeric};
      const BitParam* bits = target->bits[t];
      if (rawValue && (raw || target->numeric)) {
        write.value = static_cast<std::uint16_t>(*rawValue);  // a number for an address, or --raw: the word itself
      } else if (raw) {
        resolved.error =
            "with --raw, " + ParamAt(write.address).name + " takes a number 0..65535, not '" + valueText + "'";
        return;
      } else {
        const ParsedValue parsed = bits ? ParseBits(*bits, valueText) : ParseValue(write.address, valueText);
        if (!parsed.raw) {
          resolved.error = parsed.error;
          return;
        }
        write.value = *parsed.raw;
        write.own = parsed.ownBits;
      }
      const auto earlier = std::find_if(writes.begin(), writes.end(),
                                        [&](const WordWrite& w) { return w.address == write.address; });
      if (earlier == writes.end()) {
        writes.push_back(write);
      } else {
        Merge(*earlier, write);
      }
    }
  }
  for (const WordWrite& write : writes) {
    resolved.words.push_back(std::to_string(write.address) + "=" + std::to_string(write.value));
    if (write.own != kWholeWord) {
      resolved.ownBits[write.address] = write.own;
      continue;
    }
    // A number for an address writes that address alone, as it always did. The companion
    // of a word written in its own bits gets the word written, known only once it is read.
    const auto companion = ParamAt(write.address).companion;
    if (companion && !write.numeric) {
      resolved.words.push_back(std::to_string(*companion) + "=" + std::to_string(write.value));
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
    resolved.readAs.insert(resolved.readAs.end(), target->bits.begin(), target->bits.end());
  }
  resolved.named = !raw && !resolved.watched.empty();
}

/// A bit name's range and mask in `names`: "ON|OFF (mask 0x0001)".
std::string NamesMaskText(const BitParam& bits) {
  char mask[32];
  std::snprintf(mask, sizeof mask, " (mask 0x%04X)", unsigned{bits.mask});
  return BitRangeText(bits) + mask;
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

std::string ParamLine(ParamAddress address, std::uint16_t value, bool named, const ValueAt& valueAt,
                      const BitParam* bits) {
  if (!named) return std::to_string(address) + " " + std::to_string(value);
  return (bits ? bits->name : ParamAt(address).name) + ": " + ValueText(address, value, valueAt, bits);
}

bool IsNamesCommand(const Words& command) { return !command.empty() && command[0] == "names" && command.size() <= 2; }

int ListNames(const Words& command) {
  const std::string pattern = command.size() > 1 ? command[1] : "*";
  const Target found = MatchTarget(pattern);
  if (found.addresses.empty()) {
    std::cerr << "rmt4ctl: no parameter matches '" << pattern << "'" << std::endl;
    return kExitUsage;
  }
  for (std::size_t i = 0; i < found.addresses.size(); ++i) {
    const ParamAddress address = found.addresses[i];
    const BitParam* bits = found.bits[i];
    const ParamInfo& info = ParamAt(address);
    std::printf("%-22s %4u  %-8s %s\n", (bits ? bits->name : info.name).c_str(), unsigned{address},
                std::string(SectionName(info.section)).c_str(),
                (bits ? NamesMaskText(*bits) : ValueRangeText(address)).c_str());
  }
  return kExitOk;
}

}  // namespace rmt4::ctl
