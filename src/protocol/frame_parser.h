#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "protocol/link_state.h"
#include "protocol/stream_buffer.h"
#include "protocol/wire_trace.h"

namespace rmt4 {

/// Applies everything the console sends to the shared state. Every transport's
/// reader hands its received bytes here, in whatever pieces they arrive; one
/// instance serves all transports. It sends nothing and posts no window
/// message: its only way to wake the link worker is the reply signal.
class FrameParser {
 public:
  /// Receives the text answers of the console's network module.
  using ModuleTextHandler = std::function<void(std::string_view)>;

  explicit FrameParser(LinkState& state) : state_(state) {}

  /// Set before any reader runs.
  void SetModuleTextHandler(ModuleTextHandler handler) { moduleText_ = std::move(handler); }
  /// Set before any reader runs; every accepted frame is recorded there.
  void SetTrace(WireTrace& trace) { trace_ = &trace; }

  /// Returns when the buffer holds no further complete frame.
  void Parse(std::span<const std::uint8_t> bytes);

  [[nodiscard]] std::size_t BufferedBytes() const { return buffer_.BufferedBytes(); }

 private:
  void Dispatch(const FrameView& frame);
  void OnDeviceQuery(std::span<const std::uint8_t> payload);
  void OnWriteAcknowledged(std::span<const std::uint8_t> payload);
  void OnModeName(std::span<const std::uint8_t> payload);
  void OnValues(std::span<const std::uint8_t> payload);

  LinkState& state_;
  StreamBuffer buffer_;
  ModuleTextHandler moduleText_;
  WireTrace* trace_ = nullptr;
};

}  // namespace rmt4
