// OSC packets from anyone on the network: whatever arrives, the dispatch
// never reads out of bounds, answers a malformed packet with nothing, keeps
// its replies, waiting edits and clients bounded, and every reply it makes
// encodes to a packet that decodes back to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "automation/osc_dispatch.h"

namespace {

struct Server {
  rmt4::ParamTable params;
  rmt4::OscClients clients;
  rmt4::Fades fades;
  rmt4::OscPendingEdits edits;
  rmt4::OscState state{params, clients, fades, edits, [] { return rmt4::OscLinkStatus{"connected", "USB", ""}; }};
  std::int64_t nowMs = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Server server;
  server.nowMs += 50;
  // The first byte picks the sender, so clients and reply ports fill their tables.
  const rmt4::OscPeer sender{0x7F000000u | (size > 0 ? data[0] : 1u), 9000};
  const rmt4::OscDispatched out =
      rmt4::DispatchOscPacket(std::span<const std::uint8_t>(data, size), sender, server.nowMs, server.state);
  if (out.malformed && (!out.replies.empty() || out.edited)) std::abort();
  if (out.replies.size() > rmt4::kMaxRepliesPerPacket + 1) std::abort();
  for (const rmt4::OscOutgoing& reply : out.replies) {
    const auto decoded = rmt4::DecodeOscPacket(rmt4::EncodeOscMessage(reply.message));
    if (!decoded || decoded->size() != 1 || decoded->front().address != reply.message.address) std::abort();
  }
  const std::vector<rmt4::RequestedEdit> edits = server.edits.Take();
  if (edits.size() > rmt4::kParamCount) std::abort();
  for (const rmt4::RequestedEdit& edit : edits) {
    if (edit.address >= rmt4::kParamCount) std::abort();
  }
  (void)server.fades.Tick(server.nowMs, [](rmt4::ParamAddress) { return std::uint16_t{0}; });
  server.clients.Expire(server.nowMs);
  return 0;
}
