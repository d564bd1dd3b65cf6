// Throughput of the frame parser on the traffic of a complete read: 250-byte
// ReadParams value frames (62 entries) arriving in 64-byte pieces, as the USB
// HID reader delivers them.
#include <benchmark/benchmark.h>

#include <vector>

#include "protocol/frame_parser.h"

namespace {

constexpr double kUsbFullSpeedHidBytesPerSecond = 64.0 * 1000.0;  // one 64-byte report a millisecond

std::vector<std::uint8_t> ValueFrames(int count) {
  std::vector<std::uint8_t> stream;
  for (int f = 0; f < count; ++f) {
    std::vector<std::uint8_t> payload;
    for (int e = 0; e < 62; ++e) {
      const auto address = static_cast<std::uint16_t>((f * 62 + e) % rmt4::kParamCount);
      rmt4::AppendWord(payload, address);
      // Values like the console's: many carry the 0x8000 flag, so start bytes
      // appear inside payloads and false candidates are judged too.
      rmt4::AppendWord(payload, static_cast<std::uint16_t>(rmt4::DefaultValue(address) ^ (f & 0xFF)));
    }
    const auto frame = rmt4::LinkFrame::Build(rmt4::Command::ReadParams, payload);
    stream.insert(stream.end(), frame->Bytes().begin(), frame->Bytes().end());
  }
  return stream;
}

void BM_ParseValueFramesIn64BytePieces(benchmark::State& state) {
  const std::vector<std::uint8_t> stream = ValueFrames(256);
  rmt4::LinkState link;
  rmt4::FrameParser parser(link);
  for (auto _ : state) {
    for (std::size_t at = 0; at < stream.size(); at += 64) {
      const std::size_t piece = std::min<std::size_t>(64, stream.size() - at);
      parser.Parse(std::span<const std::uint8_t>(stream.data() + at, piece));
    }
  }
  const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(stream.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  // How many times faster than the fastest link can deliver.
  state.counters["x_usb_hid"] = benchmark::Counter(bytes / kUsbFullSpeedHidBytesPerSecond, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParseValueFramesIn64BytePieces);

}  // namespace

BENCHMARK_MAIN();
