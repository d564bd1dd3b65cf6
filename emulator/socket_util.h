#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "emulator/module_text.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"

namespace rmt4::emulator {


/// A socket of the given type bound to address:port with SO_REUSEADDR, or an
/// error text that names what failed.
struct BoundSocket {
  UniqueFd fd;
  std::string error;
};
[[nodiscard]] BoundSocket BindSocket(int type, Ipv4 address, std::uint16_t port, std::string_view what);

/// "what: strerror(errno)".
[[nodiscard]] std::string ErrnoText(std::string_view what);

}  // namespace rmt4::emulator
