#include <cctype>
#include <string>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

// Iterative, so a long pattern of stars cannot recurse deeply.
bool NameMatches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starAt = std::string_view::npos;
  std::size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
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

bool HasWildcard(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

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
