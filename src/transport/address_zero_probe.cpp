#include "transport/address_zero_probe.h"

#include <array>
#include <thread>

#include "platform/clock.h"

namespace rmt4 {

using std::chrono::milliseconds;

bool ProbeAddressZero(LinkContext& context, FrameSender& sender, const AddressZeroProbeTiming& timing,
                      const std::function<bool()>& pipeOpen) {
  LinkState& state = context.state;
  ParamEntry& addressZero = state.params[address::kDeviceType];
  addressZero.received.store(false);
  state.health.lastReplyTick.store(NowMs());
  (void)state.reply.semaphore.TryAcquireFor(milliseconds(0));
  state.reply.awaitingReply.store(true);
  const std::array<std::uint8_t, 2> addressZeroPayload{0x00, 0x00};
  sender.SendFrame(Command::ReadParams, addressZeroPayload);
  if (timing.settle.count() > 0) std::this_thread::sleep_for(timing.settle);

  const auto deadline = std::chrono::steady_clock::now() + timing.wait;
  while (!addressZero.received.load() && pipeOpen() && context.appRunning.load()) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    (void)state.reply.semaphore.TryAcquireFor(left);
  }
  if (timing.linger.count() > 0) std::this_thread::sleep_for(timing.linger);
  state.reply.awaitingReply.store(false);
  return addressZero.received.load() && pipeOpen();
}

}  // namespace rmt4
