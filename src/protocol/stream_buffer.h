#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "protocol/link_frame.h"

namespace rmt4 {

/// Accumulates received bytes and cuts out every frame whose CRC is right,
/// whatever pieces the bytes arrive in. Garbage before a frame, frames with a
/// wrong CRC and bytes lost in the middle cost nothing but the bytes
/// themselves: the search resumes at the next start byte.
class StreamBuffer {
 public:
  using FrameHandler = std::function<void(const FrameView&)>;

  /// Incoming data is taken in slices of this size, which bounds the buffer.
  static constexpr std::size_t kSliceBytes = 4096;

  /// Appends the bytes and calls `onFrame` for each accepted frame, in order.
  /// Calls are serialised: two readers overlapping while the transport
  /// changes must not dispatch the same frame twice. `onFrame` must not feed
  /// this buffer again.
  void Feed(std::span<const std::uint8_t> bytes, const FrameHandler& onFrame);

  /// Bytes kept for the next call (an incomplete frame, or fewer bytes than
  /// the shortest search).
  [[nodiscard]] std::size_t BufferedBytes() const;

 private:
  void FeedSlice(std::span<const std::uint8_t> bytes, const FrameHandler& onFrame);

  mutable std::mutex mutex_;
  std::vector<std::uint8_t> bytes_;
  /// Bytes received since the last accepted frame that could never become
  /// one and were let go; they still count toward the search threshold
  /// (capped there, as nothing beyond it matters).
  std::size_t droppedNoise_ = 0;
};

}  // namespace rmt4
