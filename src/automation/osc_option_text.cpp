#include "automation/osc_option_text.h"

#include <algorithm>

#include "platform/ipv4_address.h"
#include "values/label_format.h"
#include "values/typed_text.h"

namespace rmt4 {
namespace {

constexpr std::size_t kMaxDigits = 5;
constexpr int kLongestPrefix = 32;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::uint16_t> ParseOscPort(std::string_view text) {
  if (!AllDigits(text) || text.size() > kMaxDigits) return std::nullopt;
  int port = 0;
  for (const char c : text) port = port * 10 + (c - '0');
  if (port < 1 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

std::optional<Ipv4Subnet> ParseOscSenders(std::string_view text) {
  const std::size_t slash = text.find('/');
  const auto address = ParseIpv4(text.substr(0, slash));
  if (!address) return std::nullopt;
  int bits = kLongestPrefix;
  if (slash != std::string_view::npos) {
    const std::string_view prefix = text.substr(slash + 1);
    if (!AllDigits(prefix) || prefix.size() > 2) return std::nullopt;
    bits = std::stoi(std::string(prefix));
    if (bits > kLongestPrefix) return std::nullopt;
  }
  const Ipv4Address mask = bits == 0 ? 0 : ~Ipv4Address{0} << (kLongestPrefix - bits);
  return Ipv4Subnet{*address, mask};
}

std::vector<std::string> SplitOscAllowList(std::string_view text) {
  std::vector<std::string> entries;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view entry = Trimmed(text.substr(0, comma));
    if (!entry.empty()) entries.emplace_back(entry);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return entries;
}

std::optional<std::string> ReadOscOptions(std::string_view port, std::string_view bindAddress,
                                          std::span<const std::string> allow, OscServerOptions& options) {
  const std::optional<std::uint16_t> number = ParseOscPort(port);
  if (!number) return FormatLabel(LabelId::OscPortInvalidFormat, port);
  if (!ParseIpv4(bindAddress)) return FormatLabel(LabelId::OscBindAddressInvalidFormat, bindAddress);
  for (const std::string& entry : allow) {
    if (!ParseOscSenders(entry)) return FormatLabel(LabelId::OscAllowInvalidFormat, entry);
  }
  options.port = *number;
  options.bindAddress = std::string(bindAddress);
  options.allow.assign(allow.begin(), allow.end());
  return std::nullopt;
}

}  // namespace rmt4
