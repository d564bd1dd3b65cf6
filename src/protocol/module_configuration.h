#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rmt4 {

class ModuleCommandTable;

/// The network module's configuration as "Get_Confi:" reports it and
/// "Set_Confi:" takes it: address, mask and gateway in dotted decimal, then
/// the MAC as free text, each field ended by a character below '!'.
struct ModuleConfiguration {
  std::uint32_t address = 0;  ///< first octet in the high byte
  std::uint32_t mask = 0;
  std::uint32_t gateway = 0;
  std::string mac;
};

/// The whole command text: "Set_Confi:" followed by the configuration.
[[nodiscard]] std::string FormatSetConfigCommand(const ModuleConfiguration& configuration);

/// Reads the argument of a "Get_Confi:" reply. A field that is not a valid
/// address gives 255.255.255.255; the MAC is taken only when a separator
/// follows it. Nothing when the reply ends before the first separator.
[[nodiscard]] std::optional<ModuleConfiguration> ParseConfigurationReply(std::string_view argument);

/// The configuration of the last "Get_Confi:" reply stored in `modules`. Its
/// text is read over the slot's `number` bytes, which reach two bytes into
/// the zeros after the reply: a MAC at the very end of the reply is ended by
/// them and taken whole.
[[nodiscard]] std::optional<ModuleConfiguration> StoredConfigurationReply(const ModuleCommandTable& modules);

}  // namespace rmt4
