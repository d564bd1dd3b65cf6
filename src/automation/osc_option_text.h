#pragma once

// The OSC server's options as a user types them, on the command line or in a
// window: one reading, so every program refuses the same texts with the same words.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/osc_server.h"
#include "platform/ipv4_address.h"

namespace rmt4 {

/// A port a client can be told: 1..65535, decimal digits only.
[[nodiscard]] std::optional<std::uint16_t> ParseOscPort(std::string_view text);

/// The senders "192.168.1.0/24" (prefix 0..32) or one address stand for; none for other text.
[[nodiscard]] std::optional<Ipv4Subnet> ParseOscSenders(std::string_view text);

/// The entries of a comma-separated allow list, trimmed, empty ones dropped.
[[nodiscard]] std::vector<std::string> SplitOscAllowList(std::string_view text);

/// The typed port, bind address and allow entries as options; why not, in
/// the user's language, naming the first text refused.
[[nodiscard]] std::optional<std::string> ReadOscOptions(std::string_view port, std::string_view bindAddress,
                                                        std::span<const std::string> allow, OscServerOptions& options);

}  // namespace rmt4
