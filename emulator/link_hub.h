#pragma once

#include <algorithm>
#include <mutex>
#include <span>
#include <vector>

#include "emulator/stream_writer.h"

namespace rmt4::emulator {

/// The stream links currently attached (the TCP connection, the serial
/// link), so that a change made on the console reaches every PC listening.
class LinkHub {
 public:
  void Attach(StreamWriter& writer) {
    std::lock_guard lock(mutex_);
    writers_.push_back(&writer);
  }
  /// After this returns, the writer receives nothing more from the hub.
  void Detach(StreamWriter& writer) {
    std::lock_guard lock(mutex_);
    std::erase(writers_, &writer);
  }
  void Broadcast(std::span<const std::uint8_t> frame) {
    std::lock_guard lock(mutex_);
    for (StreamWriter* writer : writers_) writer->Send(frame);
  }

 private:
  std::mutex mutex_;
  std::vector<StreamWriter*> writers_;
};

}  // namespace rmt4::emulator
