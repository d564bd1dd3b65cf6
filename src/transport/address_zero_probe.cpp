#include "transport/address_zero_probe.h"

#include <array>


namespace rmt4 {

using std::chrono::milliseconds;

bool ProbeAddressZero(LinkContext& context, FrameSender& sender, const AddressZeroProbeTiming& timing,
                      const std::function<bool()>& pipeOpen) {
  LinkState& state = context.state;
  ParamEntry& addressZero = state.params[address::kDeviceType];
  addressZero.received.store(false);
  Clock& clock = state.clock;
  state.health.lastReplyTick.store(clock.NowMs());
  (void)state.reply.semaphore.TryAcquireFor(milliseconds(0));
  state.reply.awaitingReply.store(true);
  const std::array<std::uint8_t, 2> addressZeroPayload{0x00, 0x00};
  sender.SendFrame(Command::ReadParams, addressZeroPayload);
  (void)context.appRunning.SleepFor(timing.settle);

  const std::int64_t deadline = clock.NowMs() + timing.wait.count();
  while (!addressZero.received.load() && pipeOpen() && context.appRunning.load()) {
    const std::int64_t left = deadline - clock.NowMs();
    if (left <= 0) break;
    (void)state.reply.semaphore.TryAcquireFor(milliseconds(left));
  }
  (void)context.appRunning.SleepFor(timing.linger);
  state.reply.awaitingReply.store(false);
  return addressZero.received.load() && pipeOpen();
}

}  // namespace rmt4
