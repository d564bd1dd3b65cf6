// Network module answers come from anyone on the network: arbitrary texts
// into the command table and the configuration reader must stay in bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/module_commands.h"
#include "protocol/module_configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static rmt4::ModuleCommandTable table;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  table.ParseModuleText(text);
  if (table.DiscoveredConsoles().size() > 64) std::abort();
  (void)table.Text(rmt4::ModuleCommandTable::kGetConfig).size();
  if (const auto configuration = rmt4::ParseConfigurationReply(text)) {
    if (configuration->mac.size() > 99) std::abort();
  }
  return 0;
}
