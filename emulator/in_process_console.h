#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "emulator/console_responder.h"
#include "protocol/link_context.h"
#include "protocol/link_transport.h"
#include "protocol/stream_buffer.h"

namespace rmt4::emulator {

/// The emulated console behind an in-process pipe: what the link sends is
/// answered by the console logic and fed straight back into the link's
/// parser. No socket, no device: the program works on it offline, and tests
/// can silence it, pull the cable and make changes on the console.
class InProcessConsole : public LinkTransport {
 public:
  InProcessConsole(LinkContext& context, ConsoleResponder& console) : context_(context), console_(console) {}

  /// Returns once the console answered the connect probe, or the program closes.
  void Connect() override;
  [[nodiscard]] bool IsConnected() const override { return connected_.load(); }
  void Send(std::span<const std::uint8_t> frame) override;
  void Close() override { connected_.store(false); }

  /// The console stops answering; the pipe stays open.
  void SetSilent(bool silent) { silent_.store(silent); }
  /// The cable: out ends the reader as a real transport's would.
  void SetPlugged(bool plugged);
  /// A fader moved on the console.
  void ChangeOnConsole(ParamAddress address, std::uint16_t value);

 protected:
  /// Told of every connection attempt as it begins.
  virtual void OnConnectStarted() {}
  /// Told of every frame the PC sent and whether the console answered it;
  /// called in sending order.
  virtual void OnRequest(const FrameView& /*request*/, bool /*answered*/) {}

  [[nodiscard]] LinkContext& context() { return context_; }

 private:
  void Deliver(const std::vector<LinkFrame>& replies);

  LinkContext& context_;
  ConsoleResponder& console_;
  std::atomic<bool> connected_{false};
  std::atomic<bool> silent_{false};
  std::atomic<bool> plugged_{true};
  std::mutex sendMutex_;  // frames from several link threads are split one at a time
  StreamBuffer requests_;
};

}  // namespace rmt4::emulator
