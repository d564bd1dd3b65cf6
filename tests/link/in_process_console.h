#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "emulator/console_responder.h"
#include "protocol/link_context.h"
#include "protocol/link_transport.h"
#include "protocol/stream_buffer.h"

namespace rmt4::test {

/// The emulated console behind an in-process pipe: what the link sends is
/// answered by the emulator's console logic and fed straight back into the
/// link's parser. Tests can silence it, pull the cable and make changes on
/// the console.
class InProcessConsole : public LinkTransport {
 public:
  InProcessConsole(LinkContext& context, emulator::ConsoleResponder& console)
      : context_(context), console_(console) {}

  void Connect() override {
    while (context_.appRunning.load()) {
      if (plugged_.load() && !silent_.load()) {
        connected_.store(true);
        Deliver(console_.Respond(ProbeRequest()));  // the console answers the connect probe
        context_.linkUp.store(true);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  [[nodiscard]] bool IsConnected() const override { return connected_.load(); }
  void Send(std::span<const std::uint8_t> frame) override {
    if (!connected_.load()) return;
    std::lock_guard lock(mutex_);
    requests_.Feed(frame, [this](const FrameView& request) {
      sent_.push_back(request.command);
      sentFrames_.emplace_back(request.payload.begin(), request.payload.end());
      if (!silent_.load()) Deliver(console_.Respond(request));
    });
  }
  void Close() override { connected_.store(false); }

  /// The console stops answering; the pipe stays open.
  void SetSilent(bool silent) { silent_.store(silent); }
  /// The cable: out ends the reader as a real transport's would.
  void SetPlugged(bool plugged) {
    plugged_.store(plugged);
    if (!plugged) {
      connected_.store(false);
      context_.linkUp.store(false);
    }
  }
  /// A fader moved on the console.
  void ChangeOnConsole(ParamAddress address, std::uint16_t value) {
    const LinkFrame frame = console_.ChangeFromConsole(address, value);
    context_.parser.Parse(frame.Bytes());
  }

  /// Every command the PC sent, in order.
  [[nodiscard]] std::vector<std::uint8_t> Sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  [[nodiscard]] int CountSent(Command command) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(sent_.begin(), sent_.end(), static_cast<std::uint8_t>(command)));
  }
  /// Payloads of every frame of this command sent so far.
  [[nodiscard]] std::vector<std::vector<std::uint8_t>> Payloads(Command command) const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::uint8_t>> payloads;
    for (std::size_t i = 0; i < sent_.size(); ++i) {
      if (sent_[i] == static_cast<std::uint8_t>(command)) payloads.push_back(sentFrames_[i]);
    }
    return payloads;
  }

 private:
  static FrameView ProbeRequest() {
    static const std::uint8_t kAddressZero[2] = {0, 0};
    return FrameView{static_cast<std::uint8_t>(Command::ReadParams), std::span<const std::uint8_t>(kAddressZero)};
  }
  void Deliver(const std::vector<LinkFrame>& replies) {
    for (const LinkFrame& reply : replies) context_.parser.Parse(reply.Bytes());
  }

  LinkContext& context_;
  emulator::ConsoleResponder& console_;
  std::atomic<bool> connected_{false};
  std::atomic<bool> silent_{false};
  std::atomic<bool> plugged_{true};
  mutable std::mutex mutex_;
  StreamBuffer requests_;
  std::vector<std::uint8_t> sent_;
  std::vector<std::vector<std::uint8_t>> sentFrames_;
};

}  // namespace rmt4::test
