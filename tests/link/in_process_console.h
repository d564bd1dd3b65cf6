#pragma once

#include <atomic>
#include <mutex>
#include <algorithm>
#include <chrono>
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

  /// One frame the PC sent, when (on the link's clock), whether the link
  /// counted as up once the worker had sent it, and whether it was answered.
  struct Request {
    std::uint8_t command;
    std::vector<std::uint8_t> payload;
    std::int64_t atMs;
    bool linkUp;
    bool answered;
  };

  void Connect() override {
    {
      std::lock_guard lock(mutex_);
      connectStarts_.push_back(context_.state.clock.NowMs());
    }
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
  [[nodiscard]] bool IsConnected() const override { return connected_.load(); }
  void Send(std::span<const std::uint8_t> frame) override {
    if (!connected_.load()) return;
    std::lock_guard lock(mutex_);
    requests_.Feed(frame, [this](const FrameView& request) {
      const bool answer = !silent_.load();
      sent_.push_back(Request{request.command, {request.payload.begin(), request.payload.end()},
                              context_.state.clock.NowMs(), context_.linkUp.load(), answer});
      if (answer) Deliver(console_.Respond(request));
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

  /// Every frame the PC sent, in order.
  [[nodiscard]] std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  /// Every command the PC sent, in order.
  [[nodiscard]] std::vector<std::uint8_t> Sent() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> commands;
    for (const Request& request : sent_) commands.push_back(request.command);
    return commands;
  }
  [[nodiscard]] int CountSent(Command command) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(sent_.begin(), sent_.end(), [command](const Request& request) {
      return request.command == static_cast<std::uint8_t>(command);
    }));
  }
  /// Payloads of every frame of this command sent so far.
  [[nodiscard]] std::vector<std::vector<std::uint8_t>> Payloads(Command command) const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::uint8_t>> payloads;
    for (const Request& request : sent_) {
      if (request.command == static_cast<std::uint8_t>(command)) payloads.push_back(request.payload);
    }
    return payloads;
  }
  /// When each connection attempt began, on the link's clock.
  [[nodiscard]] std::vector<std::int64_t> ConnectStarts() const {
    std::lock_guard lock(mutex_);
    return connectStarts_;
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
  std::vector<Request> sent_;
  std::vector<std::int64_t> connectStarts_;
};

}  // namespace rmt4::test
