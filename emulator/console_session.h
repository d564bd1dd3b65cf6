#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "emulator/console_responder.h"
#include "protocol/stream_buffer.h"

namespace rmt4::emulator {

/// One link's view of the console: takes the bytes a PC sends, in whatever
/// pieces they arrive, cuts out the valid frames (garbage and bad CRCs are
/// skipped, the buffer stays bounded) and hands each reply to the link's
/// sender. Transport-free, so a fake USB device can run it in-process.
class ConsoleSession {
 public:
  using FrameSink = std::function<void(const LinkFrame&)>;

  ConsoleSession(ConsoleResponder& console, FrameSink sink) : console_(console), sink_(std::move(sink)) {}

  void Receive(std::span<const std::uint8_t> bytes);

  [[nodiscard]] std::size_t BufferedBytes() const { return buffer_.BufferedBytes(); }

 private:
  ConsoleResponder& console_;
  FrameSink sink_;
  StreamBuffer buffer_;
};

}  // namespace rmt4::emulator
