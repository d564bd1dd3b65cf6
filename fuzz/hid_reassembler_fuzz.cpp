// Arbitrary report sequences into the HID reassembler: deliveries must stay
// inside its buffer and never exceed the announced length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/hid_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rmt4::HidReassembler reassembler;
  std::span<const std::uint8_t> rest(data, size);
  while (!rest.empty()) {
    // Report sizes vary too: a short read or an oversized one must be safe.
    const std::size_t length = std::min<std::size_t>(rest.size(), rest[0] % 80u);
    rest = rest.subspan(1);
    const auto report = rest.first(std::min(length, rest.size()));
    if (const auto delivered = reassembler.Feed(report)) {
      if (delivered->size() > 1024) std::abort();
      volatile std::uint8_t sink = 0;
      for (std::uint8_t b : *delivered) sink = static_cast<std::uint8_t>(sink ^ b);
    }
    rest = rest.subspan(report.size());
  }
  return 0;
}
