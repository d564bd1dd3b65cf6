// The emulated console takes whatever a PC sends: arbitrary bytes in
// arbitrary pieces must never crash it, its buffer stays bounded, and every
// reply it makes is a valid frame. The same text also goes to its network
// module.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "emulator/console_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static rmt4::emulator::ConsoleResponder console(rmt4::emulator::ConsoleSettings{});
  rmt4::emulator::ConsoleSession session(console, [](const rmt4::LinkFrame& reply) {
    if (!rmt4::CheckFrame(reply.Bytes())) std::abort();
  });
  std::span<const std::uint8_t> rest(data, size);
  while (!rest.empty()) {
    const std::size_t piece = std::min<std::size_t>(rest.size(), 1u + rest[0] % 131u);
    session.Receive(rest.first(piece));
    rest = rest.subspan(piece);
    if (session.BufferedBytes() > rmt4::StreamBuffer::kSliceBytes + rmt4::LinkFrame::kMaxBytes) std::abort();
  }
  (void)console.ModuleCommand(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
