#include "automation/osc_names.h"

#include <array>
#include <cctype>
#include <optional>

#include "values/param_catalogue.h"
#include "values/typed_text.h"

namespace rmt4 {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

/// "[a-c!]"'s body after the '[' (and '!'): the characters it names.
std::bitset<256> SetOf(std::string_view body) {
  std::bitset<256> set;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const bool range = i + 2 < body.size() && body[i + 1] == '-';
    const unsigned char last = Byte(range ? body[i + 2] : body[i]);
    for (unsigned c = Byte(body[i]); c <= last; ++c) set.set(Byte(Lower(static_cast<char>(c))));
    if (range) i += 2;
  }
  return set;
}

std::string OscAddressOfName(std::string_view name) {
  std::string osc(1, '/');
  for (const char c : name) osc.push_back(c == '.' ? '/' : c);
  return osc;
}

}  // namespace

const std::string& OscAddressOf(ParamAddress address) {
  static const std::array<std::string, kParamCount> addresses = [] {
    std::array<std::string, kParamCount> all;
    for (const ParamInfo& info : ParamCatalogue()) all[info.address] = OscAddressOfName(info.name);
    return all;
  }();
  return addresses[address < kParamCount ? address : 0];
}

std::string OscAddressOf(const BitParam& bits) { return OscAddressOfName(bits.name); }

bool HasOscPattern(std::string_view address) { return address.find_first_of("*?[{") != std::string_view::npos; }

std::optional<OscPattern> OscPattern::Compile(std::string_view pattern) {
  if (pattern.size() > kMaxOscAddress) return std::nullopt;
  OscPattern compiled;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    Token token;
    const char c = pattern[i];
    if (c == '*') {
      token.kind = Token::Kind::kStar;
    } else if (c == '?') {
      token.kind = Token::Kind::kOne;
    } else if (c == '[') {
      const std::size_t close = pattern.find(']', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      const bool negated = close > i + 1 && pattern[i + 1] == '!';
      token.kind = Token::Kind::kSet;
      token.set = SetOf(pattern.substr(i + 1 + (negated ? 1 : 0), close - i - 1 - (negated ? 1 : 0)));
      if (negated) token.set.flip();
      token.set.reset(Byte('/'));
      i = close;
    } else if (c == '{') {
      const std::size_t close = pattern.find('}', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      const std::string_view body = pattern.substr(i + 1, close - i - 1);
      if (body.find('{') != std::string_view::npos) return std::nullopt;
      token.kind = Token::Kind::kChoice;
      for (std::size_t start = 0;;) {
        const std::size_t comma = body.find(',', start);
        std::string choice(body.substr(start, comma - start));
        for (char& ch : choice) ch = Lower(ch);
        token.choices.push_back(std::move(choice));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      i = close;
    } else if (c == ']' || c == '}') {
      return std::nullopt;
    } else {
      token.character = Lower(c);
    }
    // Stars in a row match as one.
    if (token.kind == Token::Kind::kStar && !compiled.tokens_.empty() &&
        compiled.tokens_.back().kind == Token::Kind::kStar) {
      continue;
    }
    compiled.tokens_.push_back(std::move(token));
  }
  return compiled;
}

// Walks the pattern once, keeping every position of `address` that the
// pattern so far can reach: time bounded by pattern length × address length.
bool OscPattern::Matches(std::string_view address) const {
  std::vector<char> reach(address.size() + 1, 0);
  std::vector<char> next(address.size() + 1, 0);
  reach[0] = 1;
  for (const Token& token : tokens_) {
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    bool starRun = false;
    for (std::size_t i = 0; i <= address.size(); ++i) {
      const bool atEnd = i == address.size();
      const char c = atEnd ? '\0' : Lower(address[i]);
      switch (token.kind) {
        case Token::Kind::kStar:
          starRun = starRun || reach[i] != 0;
          next[i] = starRun ? 1 : 0;
          if (c == '/') starRun = false;
          break;
        case Token::Kind::kChar:
          if (reach[i] && !atEnd && c == token.character) next[i + 1] = 1;
          break;
        case Token::Kind::kOne:
          if (reach[i] && !atEnd && c != '/') next[i + 1] = 1;
          break;
        case Token::Kind::kSet:
          if (reach[i] && !atEnd && token.set.test(Byte(c))) next[i + 1] = 1;
          break;
        case Token::Kind::kChoice:
          if (!reach[i]) break;
          for (const std::string& choice : token.choices) {
            if (choice.size() <= address.size() - i && EqualsIgnoringCase(choice, address.substr(i, choice.size()))) {
              next[i + choice.size()] = 1;
            }
          }
          break;
      }
    }
    for (const char r : next) any = any || r != 0;
    if (!any) return false;
    reach.swap(next);
  }
  return reach[address.size()] != 0;
}

OscSelection SelectParams(std::string_view address) {
  OscSelection selection;
  if (!HasOscPattern(address)) {
    std::string name(address.substr(address.starts_with('/') ? 1 : 0));
    for (char& c : name) {
      if (c == '/') c = '.';
    }
    if (const auto found = FindParam(name)) {
      selection.addresses.push_back(*found);
    } else if (const BitParam* bits = FindBitParam(name)) {
      selection.bits.push_back(bits);
    } else {
      selection.error = UnknownParamText(address);
    }
    return selection;
  }
  const std::optional<OscPattern> pattern = OscPattern::Compile(address);
  if (!pattern) {
    selection.error.append("'").append(address.substr(0, kMaxOscAddress)).append("' is not an OSC address pattern");
    return selection;
  }
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (pattern->Matches(OscAddressOf(a))) selection.addresses.push_back(a);
  }
  for (const BitParam& bits : BitParams()) {
    if (pattern->Matches(OscAddressOf(bits))) selection.bits.push_back(&bits);
  }
  if (selection.addresses.empty() && selection.bits.empty()) selection.error = UnknownParamText(address);
  return selection;
}

}  // namespace rmt4
