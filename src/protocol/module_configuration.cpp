#include "protocol/module_configuration.h"

#include "platform/ipv4_address.h"
#include "protocol/module_commands.h"

#include <algorithm>
#include <vector>

namespace rmt4 {
namespace {

constexpr std::uint32_t kInvalidAddress = 0xFFFFFFFF;
// No field of a configuration is longer; anything beyond is not ours to keep.
constexpr std::size_t kMaxFieldLength = 99;

bool IsSeparator(char c) { return static_cast<unsigned char>(c) < 0x21; }

}  // namespace

std::string FormatSetConfigCommand(const ModuleConfiguration& configuration) {
  return "Set_Confi:" + FormatIpv4(configuration.address) + " " + FormatIpv4(configuration.mask) +
         " " + FormatIpv4(configuration.gateway) + " " + configuration.mac;
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
    return index < fields.size() ? ParseIpv4(fields[index]).value_or(kInvalidAddress) : 0;
  };
  configuration.address = address(0);
  configuration.mask = address(1);
  configuration.gateway = address(2);
  if (fields.size() >= 4) configuration.mac = std::string(fields[3]);
  return configuration;
}

std::optional<ModuleConfiguration> StoredConfigurationReply(const ModuleCommandTable& modules) {
  const std::string text = modules.Text(ModuleCommandTable::kGetConfig);
  const std::size_t length = std::min<std::size_t>(modules.Number(ModuleCommandTable::kGetConfig), text.size());
  return ParseConfigurationReply(std::string_view(text).substr(0, length));
}

}  // namespace rmt4
