#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "protocol/connection_kind.h"

namespace rmt4 {

/// One byte pipe to the console (USB HID, network or serial). The link worker
/// owns exactly one for the life of a run; its reader thread hands received
/// bytes to the shared FrameParser.
class LinkTransport {
 public:
  virtual ~LinkTransport() = default;

  /// Opens the pipe and returns once the console answered the transport's
  /// probe (the transport has then set linkUp) or the program is closing.
  virtual void Connect() = 0;
  /// Whether waits for replies make sense: the pipe is open and its reader runs.
  [[nodiscard]] virtual bool IsConnected() const = 0;
  /// Puts one whole frame on the wire; drops it when the pipe is closed.
  virtual void Send(std::span<const std::uint8_t> frame) = 0;
  /// Closes the pipe and ends the reader; safe to call at any time, twice.
  virtual void Close() = 0;
  /// Called before a frame is sent after the console has been silent for the
  /// silence limit; the network transport reconnects and probes here. True
  /// when a new connection was made (values may have changed meanwhile).
  virtual bool OnSilence() { return false; }
};

struct LinkContext;
class FrameSender;

/// Makes the transport for a connection kind. The program wires the real
/// transports in; tests put fakes here. `sender` is the link's own SendFrame,
/// for the probes a transport sends while connecting.
using TransportFactory =
    std::function<std::unique_ptr<LinkTransport>(ConnectionKind kind, LinkContext& context, FrameSender& sender)>;

}  // namespace rmt4
