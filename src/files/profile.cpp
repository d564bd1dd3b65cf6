#include "files/profile.h"

#include <charconv>
#include <climits>
#include <vector>

#include "files/file_access.h"

namespace rmt4 {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

enum class LineKind { kBlank, kComment, kSection, kKey, kOther };

struct Line {
  std::size_t start = 0;       // first byte of the line
  std::size_t contentEnd = 0;  // end of the content, before any "\r\n" or "\n"
  std::size_t next = 0;        // start of the next line (end of text for the last)
  bool terminated = false;     // ends with "\n"
  LineKind kind = LineKind::kOther;
  std::string_view name;       // section name or key
  std::string_view value;      // trimmed value text of a key line
  std::size_t valueStart = 0;  // where the value begins (after "=" and spaces)
};

std::vector<Line> ParseLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t position = 0;
  while (position < text.size()) {
    Line line;
    line.start = position;
    const std::size_t newline = text.find('\n', position);
    if (newline == std::string_view::npos) {
      line.contentEnd = text.size();
      line.next = text.size();
    } else {
      line.contentEnd = newline;
      line.next = newline + 1;
      line.terminated = true;
    }
    if (line.terminated && line.contentEnd > line.start && text[line.contentEnd - 1] == '\r') {
      --line.contentEnd;  // CRLF: the "\r" belongs to the line end
    }
    std::size_t contentStart = line.start;
    if (line.start == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") {
      contentStart = std::min<std::size_t>(3, line.contentEnd);  // UTF-8 byte-order mark
    }
    const std::string_view content =
        text.substr(contentStart, line.contentEnd - contentStart);
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty()) {
      line.kind = LineKind::kBlank;
    } else if (trimmed.front() == ';' || trimmed.front() == '#') {
      line.kind = LineKind::kComment;
    } else if (trimmed.front() == '[') {
      const std::size_t close = trimmed.find(']');
      if (close != std::string_view::npos) {
        line.kind = LineKind::kSection;
        line.name = Trim(trimmed.substr(1, close - 1));
      }
    } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos) {
      const std::string_view key = Trim(content.substr(0, equals));
      if (!key.empty()) {
        line.kind = LineKind::kKey;
        line.name = key;
        std::size_t valueStart = contentStart + equals + 1;
        while (valueStart < line.contentEnd && IsSpace(text[valueStart])) {
          ++valueStart;
        }
        line.valueStart = valueStart;
        line.value = Trim(text.substr(valueStart, line.contentEnd - valueStart));
      }
    }
    lines.push_back(line);
    position = line.next;
  }
  return lines;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view LineEndOf(const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (line.terminated) {
      return line.next - line.contentEnd == 2 ? "\r\n" : "\n";
    }
  }
  return "\n";
}

}  // namespace

std::optional<std::string> ProfileGetString(std::string_view text, std::string_view section,
                                            std::string_view key) {
  bool inSection = false;
  for (const Line& line : ParseLines(text)) {
    if (line.kind == LineKind::kSection) {
      inSection = EqualNoCase(line.name, section);
    } else if (inSection && line.kind == LineKind::kKey && EqualNoCase(line.name, key)) {
      return std::string(Unquote(line.value));
    }
  }
  return std::nullopt;
}

std::optional<int> ParseProfileInt(std::string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  long long magnitude = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), magnitude);
  if (error != std::errc() || end == value.data() || magnitude < 0) {
    return std::nullopt;  // no digits, or too many
  }
  const long long number = negative ? -magnitude : magnitude;
  if (number < INT_MIN || number > INT_MAX) {
    return std::nullopt;
  }
  return static_cast<int>(number);
}

std::optional<int> ProfileGetInt(std::string_view text, std::string_view section,
                                 std::string_view key) {
  const std::optional<std::string> value = ProfileGetString(text, section, key);
  if (!value) {
    return std::nullopt;
  }
  return ParseProfileInt(*value);
}

bool IsWritableProfileEntry(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (section.empty() || Trim(section) != section || HasLineBreak(section) ||
      section.find(']') != std::string_view::npos) {
    return false;
  }
  if (key.empty() || Trim(key) != key || HasLineBreak(key) ||
      key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
      key.front() == '#') {
    return false;
  }
  if (HasLineBreak(value) || Trim(value) != value) {
    return false;
  }
  // A quoted value would read back without its quotes.
  return Unquote(value) == value;
}

std::optional<std::string> ProfileSetString(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value) {
  if (!IsWritableProfileEntry(section, key, value)) {
    return std::nullopt;
  }
  const std::vector<Line> lines = ParseLines(text);
  const std::string_view eol = LineEndOf(lines);

  std::string result;
  bool inSection = false;
  bool inFirstSection = false;
  std::optional<std::size_t> firstSection;
  std::optional<std::size_t> lastKeyOfFirstSection;
  std::optional<std::size_t> replaced;
  for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
    const Line& line = lines[i];
    if (line.kind == LineKind::kSection) {
      inSection = EqualNoCase(line.name, section);
      inFirstSection = inSection && !firstSection;
      if (inFirstSection) {
        firstSection = i;
      }
    } else if (inSection && line.kind == LineKind::kKey) {
      if (EqualNoCase(line.name, key)) {
        replaced = i;
      } else if (inFirstSection) {
        lastKeyOfFirstSection = i;
      }
    }
  }

  if (replaced) {
    const Line& line = lines[*replaced];
    result.reserve(text.size() + value.size());
    result.append(text.substr(0, line.valueStart));
    result.append(value);
    result.append(text.substr(line.contentEnd));
  } else if (firstSection) {
    const Line& anchor = lines[lastKeyOfFirstSection.value_or(*firstSection)];
    result.append(text.substr(0, anchor.next));
    if (!anchor.terminated) {
      result.append(eol);
    }
    result.append(key).append("=").append(value).append(eol);
    result.append(text.substr(anchor.next));
  } else {
    result.append(text);
    if (!text.empty() && !text.ends_with('\n')) {
      result.append(eol);
    }
    if (!lines.empty() && lines.back().kind != LineKind::kBlank) {
      result.append(eol);  // a blank line between the sections
    }
    result.append("[").append(section).append("]").append(eol);
    result.append(key).append("=").append(value).append(eol);
  }
  if (result.size() > kMaxProfileBytes) {
    return std::nullopt;
  }
  return result;
}

std::optional<std::string> ReadProfileFile(const std::filesystem::path& path) {
  BoundedRead read = ReadFileBounded(path, kMaxProfileBytes);
  if (read.status != ReadStatus::kOk) {
    return std::nullopt;
  }
  return std::move(read.bytes);
}

int ReadProfileInt(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, int defaultValue) {
  const std::optional<std::string> text = ReadProfileFile(path);
  if (!text) {
    return defaultValue;
  }
  return ProfileGetInt(*text, section, key).value_or(defaultValue);
}

bool WriteProfileString(const std::filesystem::path& path, std::string_view section,
                        std::string_view key, std::string_view value) {
  if (path.empty() || !IsWritableProfileEntry(section, key, value)) {
    return false;
  }
  const BoundedRead read = ReadFileBounded(path, kMaxProfileBytes);
  std::string_view oldText;
  if (read.status == ReadStatus::kOk) {
    oldText = read.bytes;
  } else if (read.status != ReadStatus::kMissing) {
    return false;  // never replace a file we could not read whole
  }
  const std::optional<std::string> newText = ProfileSetString(oldText, section, key, value);
  if (!newText) {
    return false;
  }
  return ReplaceFileAtomically(path, *newText);
}

}  // namespace rmt4
