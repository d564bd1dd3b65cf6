#include "emulator/console_session.h"

namespace rmt4::emulator {

void ConsoleSession::Receive(std::span<const std::uint8_t> bytes) {
  buffer_.Feed(bytes, [this](const FrameView& request) {
    for (const LinkFrame& reply : console_.Respond(request)) sink_(reply);
  });
}

}  // namespace rmt4::emulator
