#include <cctype>
#include <string>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// The length of the pattern element at `p` ('?', "[a-c]", "[!1-4]" or one
// character) and whether it takes `c`. A '[' without its ']' is a character.
std::size_t MatchElement(std::string_view pattern, std::size_t p, char c, bool& takes) {
  const std::size_t close = pattern[p] == '[' ? pattern.find(']', p + 2) : std::string_view::npos;
  if (close == std::string_view::npos) {
    takes = pattern[p] == '?' || Lower(pattern[p]) == Lower(c);
    return 1;
  }
  const bool negated = pattern[p + 1] == '!';
  const std::string_view body = pattern.substr(p + (negated ? 2 : 1), close - p - (negated ? 2 : 1));
  bool inSet = false;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const bool range = i + 2 < body.size() && body[i + 1] == '-';
    const char first = Lower(body[i]);
    const char last = Lower(range ? body[i + 2] : body[i]);
    inSet = inSet || (Lower(c) >= first && Lower(c) <= last);
    if (range) i += 2;
  }
  takes = inSet != negated;
  return close - p + 1;
}

}  // namespace

// Iterative, so a long pattern of stars cannot recurse deeply.
bool NameMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starAt = std::string_view::npos;
  std::size_t resumeAt = 0;
  while (n < name.size()) {
    bool takes = false;
    const std::size_t length = p < pattern.size() && pattern[p] != '*' ? MatchElement(pattern, p, name[n], takes) : 0;
    if (takes) {
      p += length;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcard(std::string_view pattern) { return pattern.find_first_of("*?[") != std::string_view::npos; }

std::optional<ParamAddress> FindParam(std::string_view name) {
  if (HasWildcard(name)) return std::nullopt;
  for (const ParamInfo& entry : ParamCatalogue()) {
    if (NameMatches(name, entry.name)) return entry.address;
  }
  return std::nullopt;
}

std::string UnknownParamText(std::string_view name) {
  return "no parameter is called '" + std::string(name) + "' (see 'rmt4ctl names'; addresses are 0..1573)";
}

std::vector<ParamAddress> MatchParams(std::string_view pattern) {
  std::vector<ParamAddress> found;
  for (const ParamInfo& entry : ParamCatalogue()) {
    if (NameMatches(pattern, entry.name)) found.push_back(entry.address);
  }
  return found;
}

}  // namespace rmt4
