// Feeds arbitrary bytes, cut into pieces chosen by the input itself, to the
// frame parser with a live table: nothing may crash or overflow, and the
// buffer must stay bounded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/frame_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static rmt4::LinkState state;
  rmt4::FrameParser parser(state);
  parser.SetModuleTextHandler([](std::string_view text) { (void)text.size(); });
  state.reply.awaitingReply = true;

  std::span<const std::uint8_t> rest(data, size);
  while (!rest.empty()) {
    // The first byte of each piece says how long the piece is.
    const std::size_t piece = std::min<std::size_t>(rest.size(), 1u + rest[0] % 97u);
    parser.Parse(rest.first(piece));
    rest = rest.subspan(piece);
    if (parser.BufferedBytes() > rmt4::StreamBuffer::kSliceBytes + rmt4::LinkFrame::kMaxBytes) std::abort();
  }
  (void)state.reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));
  return 0;
}
