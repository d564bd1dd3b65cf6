#include "protocol/module_configuration.h"

#include <charconv>
#include <vector>

namespace rmt4 {
namespace {

constexpr std::uint32_t kInvalidAddress = 0xFFFFFFFF;
// No field of a configuration is longer; anything beyond is not ours to keep.
constexpr std::size_t kMaxFieldLength = 99;

bool IsSeparator(char c) { return static_cast<unsigned char>(c) < 0x21; }

}  // namespace

std::string FormatDottedAddress(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::optional<std::uint32_t> ParseDottedAddress(std::string_view text) {
  std::uint32_t address = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const std::size_t digits = static_cast<std::size_t>(end - text.data());
    if (error != std::errc() || digits == 0 || digits > 3 || value > 255) return std::nullopt;
    address = address << 8 | value;
    text.remove_prefix(digits);
  }
  if (!text.empty()) return std::nullopt;
  return address;
}

std::string FormatSetConfigCommand(const ModuleConfiguration& configuration) {
  return "Set_Confi:" + FormatDottedAddress(configuration.address) + " " + FormatDottedAddress(configuration.mask) +
         " " + FormatDottedAddress(configuration.gateway) + " " + configuration.mac;
}

std::optional<ModuleConfiguration> ParseConfigurationReply(std::string_view argument) {
  // Fields, each ended by a separator; the text after the last one is not a field.
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i < argument.size() && fields.size() < 4; ++i) {
    if (!IsSeparator(argument[i])) continue;
    fields.push_back(argument.substr(start, std::min(i - start, kMaxFieldLength)));
    start = i + 1;
  }
  if (fields.empty()) return std::nullopt;

  ModuleConfiguration configuration;
  auto address = [&](std::size_t index) {
    return index < fields.size() ? ParseDottedAddress(fields[index]).value_or(kInvalidAddress) : 0;
  };
  configuration.address = address(0);
  configuration.mask = address(1);
  configuration.gateway = address(2);
  if (fields.size() >= 4) configuration.mac = std::string(fields[3]);
  return configuration;
}

}  // namespace rmt4
