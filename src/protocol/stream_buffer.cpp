#include "protocol/stream_buffer.h"

#include <algorithm>

namespace rmt4 {
namespace {

// The search starts once this many bytes have arrived since the last accepted
// frame: an empty-payload frame (5 bytes) arriving alone waits for the next
// byte, one arriving after noise is taken at once.
constexpr std::size_t kMinSearchBytes = 6;

std::size_t FindStart(std::span<const std::uint8_t> bytes, std::size_t from) {
  const auto it = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), LinkFrame::kStartByte);
  return static_cast<std::size_t>(it - bytes.begin());
}

// A candidate is incomplete when its length byte, or any byte the length
// promises, has not arrived yet. Only such candidates can still become frames.
bool IsIncomplete(std::span<const std::uint8_t> bytes, std::size_t start) {
  return start + 1 >= bytes.size() || start + bytes[start + 1] + LinkFrame::kCrcBytes > bytes.size();
}

}  // namespace

void StreamBuffer::Feed(std::span<const std::uint8_t> bytes, const FrameHandler& onFrame) {
  std::lock_guard lock(mutex_);
  while (bytes.size() > kSliceBytes) {
    FeedSlice(bytes.first(kSliceBytes), onFrame);
    bytes = bytes.subspan(kSliceBytes);
  }
  FeedSlice(bytes, onFrame);
}

void StreamBuffer::FeedSlice(std::span<const std::uint8_t> bytes, const FrameHandler& onFrame) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  if (droppedNoise_ + bytes_.size() < kMinSearchBytes) return;

  const std::span<const std::uint8_t> view(bytes_);
  std::size_t frameEnd = 0;
  bool accepted = false;
  for (std::size_t a = FindStart(view, 0); a < view.size(); a = FindStart(view, a + 1)) {
    if (IsIncomplete(view, a)) continue;
    // Frames may also start inside an accepted one; the search goes on from a + 1.
    if (const auto frame = CheckFrame(view.subspan(a))) {
      onFrame(*frame);
      accepted = true;
      frameEnd = a + view[a + 1] + LinkFrame::kCrcBytes;
    }
  }

  // Everything before the first candidate that can still complete is dead:
  // every start byte there has been judged with all its bytes present. Bytes
  // of accepted frames go in any case. Dead bytes after the last accepted
  // frame are only counted, so the buffer stays bounded.
  std::size_t keepFrom = FindStart(view, frameEnd);
  while (keepFrom < view.size() && !IsIncomplete(view, keepFrom)) keepFrom = FindStart(view, keepFrom + 1);
  const std::size_t noise = (accepted ? 0 : droppedNoise_) + (keepFrom - frameEnd);
  droppedNoise_ = std::min(noise, kMinSearchBytes);
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(keepFrom));
}

std::size_t StreamBuffer::BufferedBytes() const {
  std::lock_guard lock(mutex_);
  return bytes_.size();
}

}  // namespace rmt4
