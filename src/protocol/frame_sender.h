#pragma once

#include <cstdint>
#include <span>

#include "protocol/command.h"

namespace rmt4 {

/// Whatever puts frames on the wire: the link layer with its active
/// transport, or a recorder in tests.
class FrameSender {
 public:
  virtual ~FrameSender() = default;
  /// Frames the payload and hands it to the transport.
  virtual void SendFrame(Command command, std::span<const std::uint8_t> payload) = 0;
};

}  // namespace rmt4
