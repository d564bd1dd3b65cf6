#include "lossy_console.h"

namespace rmt4::faults {

LossyConsole::LossyConsole(LinkContext& context, emulator::ConsoleResponder& console, double faultShare,
                           unsigned seed)
    : InProcessConsole(context, console), context_(context), console_(console), faultShare_(faultShare),
      random_(seed) {}

LossyConsole::Fault LossyConsole::Draw() {
  if (std::uniform_real_distribution<double>(0, 1)(random_) >= faultShare_) return Fault::None;
  return static_cast<Fault>(std::uniform_int_distribution<int>(1, 4)(random_));
}

void LossyConsole::Garble(std::vector<std::uint8_t>& bytes) {
  const auto at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random_);
  bytes[at] ^= static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(random_));
}

void LossyConsole::Send(std::span<const std::uint8_t> frame) {
  if (!IsConnected() || frame.empty()) return;
  frames_.fetch_add(1);
  std::unique_lock lock(mutex_);
  const Fault fault = Draw();
  if (fault == Fault::None) {
    lock.unlock();
    InProcessConsole::Send(frame);
    return;
  }
  faults_.fetch_add(1);
  std::vector<std::uint8_t> bytes(frame.begin(), frame.end());
  if (fault == Fault::RequestLost) return;
  if (fault == Fault::RequestGarbled) {
    Garble(bytes);
    lock.unlock();
    InProcessConsole::Send(bytes);
    return;
  }
  // The console acts on the request; one frame of its answer goes astray.
  requests_.Feed(frame, [&](const FrameView& request) {
    const std::vector<LinkFrame> replies = console_.Respond(request);
    if (replies.empty()) return;
    const auto astray = std::uniform_int_distribution<std::size_t>(0, replies.size() - 1)(random_);
    for (std::size_t i = 0; i < replies.size(); ++i) {
      std::vector<std::uint8_t> reply(replies[i].Bytes().begin(), replies[i].Bytes().end());
      if (i == astray && fault == Fault::ReplyLost) continue;
      if (i == astray) Garble(reply);
      context_.parser.Parse(reply);
    }
  });
}

}  // namespace rmt4::faults
