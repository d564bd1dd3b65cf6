#include "emulator/in_process_console.h"

#include <chrono>

namespace rmt4::emulator {
namespace {

FrameView ProbeRequest() {
  static const std::uint8_t kAddressZero[2] = {0, 0};
  return FrameView{static_cast<std::uint8_t>(Command::ReadParams), std::span<const std::uint8_t>(kAddressZero)};
}

}  // namespace

void InProcessConsole::Connect() {
  OnConnectStarted();
  while (context_.appRunning.load()) {
    if (plugged_.load() && !silent_.load()) {
      connected_.store(true);
      Deliver(console_.Respond(ProbeRequest()));  // the console answers the connect probe
      context_.linkUp.store(true);
      return;
    }
    (void)context_.appRunning.SleepFor(std::chrono::milliseconds(20));
  }
}

void InProcessConsole::Send(std::span<const std::uint8_t> frame) {
  if (!connected_.load()) return;
  std::lock_guard lock(sendMutex_);
  requests_.Feed(frame, [this](const FrameView& request) {
    const bool answer = !silent_.load();
    OnRequest(request, answer);
    if (answer) Deliver(console_.Respond(request));
  });
}

void InProcessConsole::SetPlugged(bool plugged) {
  plugged_.store(plugged);
  if (!plugged) {
    connected_.store(false);
    context_.linkUp.store(false);
  }
}

void InProcessConsole::ChangeOnConsole(ParamAddress address, std::uint16_t value) {
  const LinkFrame frame = console_.ChangeFromConsole(address, value);
  context_.parser.Parse(frame.Bytes());
}

void InProcessConsole::Deliver(const std::vector<LinkFrame>& replies) {
  for (const LinkFrame& reply : replies) context_.parser.Parse(reply.Bytes());
}

}  // namespace rmt4::emulator
