#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "emulator/fault_plan.h"
#include "emulator/line_pacer.h"
#include "emulator/logger.h"

namespace rmt4::emulator {

/// How a link's outgoing stream misbehaves and how fast it is.
struct StreamShaping {
  FaultPlan& faults;
  const Silence& silence;
  std::uint64_t paceBytesPerSecond = 0;
};

/// The sending side of one stream link (TCP connection or pseudo-terminal):
/// frames are queued with their fault decisions and written by a thread of
/// its own, so a delayed or paced reply never holds up the reader. The queue
/// is bounded: beyond it, frames are dropped. Does not own the descriptor.
class StreamWriter {
 public:
  /// Queued bytes beyond which new frames are dropped.
  static constexpr std::size_t kMaxQueuedBytes = 256 * 1024;

  StreamWriter(int fd, StreamShaping shaping, Logger& log, std::string name);
  ~StreamWriter();
  StreamWriter(const StreamWriter&) = delete;
  StreamWriter& operator=(const StreamWriter&) = delete;

  /// Queues one frame; never blocks on the peer.
  void Send(std::span<const std::uint8_t> frame);

 private:
  using Clock = std::chrono::steady_clock;
  struct Message {
    std::vector<std::uint8_t> bytes;
    Clock::time_point due;
  };

  void Run();
  /// Writes one message in its pieces; false when the link is gone.
  bool WriteMessage(const std::vector<std::uint8_t>& bytes);
  /// Writes all bytes, waiting a bounded time for the peer to take them.
  bool WriteAll(std::span<const std::uint8_t> bytes);
  /// Sleeps until `when` unless stopped; false when stopped.
  bool SleepUntil(Clock::time_point when);

  const int fd_;
  StreamShaping shaping_;
  LinePacer pacer_;
  Logger& log_;
  const std::string name_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Message> queue_;
  std::size_t queuedBytes_ = 0;
  bool stopping_ = false;
  bool broken_ = false;
  std::thread thread_;
};

}  // namespace rmt4::emulator
