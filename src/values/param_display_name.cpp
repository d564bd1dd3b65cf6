#include "values/param_display_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

struct Word {
  std::string_view part;
  std::string_view shown;
};

// Parts of catalogue names that read differently in words; others are
// printed as they are, channel and bus names in capitals.
constexpr std::array<Word, 21> kWords{{{"st9", "ST9/10"},
                                       {"dig", "DIGITAL"},
                                       {"sys", "system"},
                                       {"addr", "address"},
                                       {"eq", "EQ"},
                                       {"hpf", "HPF"},
                                       {"lpf", "LPF"},
                                       {"pfl", "PFL"},
                                       {"freq", "frequency"},
                                       {"q", "Q"},
                                       {"comp", "compressor"},
                                       {"send", "send to"},
                                       {"param1", "parameter 1"},
                                       {"param2", "parameter 2"},
                                       {"noisegate", "noise gate"},
                                       {"footswitch", "foot switch"},
                                       {"keepalive", "keep-alive"},
                                       {"select", "selected channel"},
                                       {"linked", "(linked)"},
                                       {"main", "MAIN"},
                                       {"48v", "48V"}}};

// Channels and buses with a number: "ch3", "aux2".
constexpr std::array<std::string_view, 3> kNumbered{"ch", "aux", "fx"};

std::string Upper(std::string_view part) {
  std::string upper(part);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

std::string Shown(std::string_view part) {
  for (const Word& word : kWords) {
    if (word.part == part) return std::string(word.shown);
  }
  if (part.size() > 2 && part.starts_with("eq") && std::isdigit(static_cast<unsigned char>(part[2]))) {
    return "EQ band " + std::string(part.substr(2));
  }
  for (std::string_view prefix : kNumbered) {
    if (part.size() > prefix.size() && part.starts_with(prefix) &&
        std::isdigit(static_cast<unsigned char>(part[prefix.size()]))) {
      return Upper(part);
    }
  }
  return std::string(part);
}

}  // namespace

std::string ParamDisplayName(ParamAddress address) { return DisplayName(ParamAt(address).name); }

std::string DisplayName(std::string_view name) {
  std::string shown;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t dot = std::min(name.find('.', start), name.size());
    if (!shown.empty()) shown += ' ';
    shown += Shown(name.substr(start, dot - start));
    start = dot + 1;
  }
  return shown;
}

}  // namespace rmt4
