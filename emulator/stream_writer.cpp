#include "emulator/stream_writer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rmt4::emulator {
namespace {

// A peer that takes nothing for this long loses the message rather than
// stalling every later one.
constexpr auto kWriteStallLimit = std::chrono::milliseconds(1000);
constexpr int kPollSliceMs = 50;
// Between pieces, so that a stream peer really receives them apart.
constexpr auto kPieceGap = std::chrono::milliseconds(1);

}  // namespace

StreamWriter::StreamWriter(int fd, StreamShaping shaping, Logger& log, std::string name)
    : fd_(fd), shaping_(shaping), pacer_(shaping.paceBytesPerSecond), log_(log), name_(std::move(name)) {
  thread_ = std::thread([this] { Run(); });
}

StreamWriter::~StreamWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void StreamWriter::Send(std::span<const std::uint8_t> frame) {
  if (shaping_.silence.Active()) return;
  Delivery delivery = shaping_.faults.Decide(frame);
  if (delivery.drop) {
    log_.Traffic(name_ + " drop", frame);
    return;
  }
  log_.Traffic(name_ + " tx", delivery.bytes);
  {
    std::lock_guard lock(mutex_);
    if (broken_ || stopping_) return;
    if (queuedBytes_ + delivery.bytes.size() > kMaxQueuedBytes) {
      log_.Info(name_ + ": output queue full, frame dropped");
      return;
    }
    // The queue is written in order, so a delayed frame also holds back the ones after it, as on a real stream.
    queuedBytes_ += delivery.bytes.size();
    queue_.push_back(Message{std::move(delivery.bytes), Clock::now() + delivery.delay});
  }
  changed_.notify_all();
}

void StreamWriter::Run() {
  while (true) {
    Message message;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      const Clock::time_point due = queue_.front().due;
      if (changed_.wait_until(lock, due, [this] { return stopping_; })) return;
      message = std::move(queue_.front());
      queue_.pop_front();
      queuedBytes_ -= message.bytes.size();
    }
    if (!WriteMessage(message.bytes)) {
      std::lock_guard lock(mutex_);
      broken_ = true;  // the reader notices the closed link and ends it
      queue_.clear();
      queuedBytes_ = 0;
      return;
    }
  }
}

bool StreamWriter::WriteMessage(const std::vector<std::uint8_t>& bytes) {
  const std::vector<std::size_t> pieces = shaping_.faults.Pieces(bytes.size());
  std::size_t at = 0;
  for (std::size_t index = 0; index < pieces.size(); ++index) {
    if (index > 0 && !SleepUntil(Clock::now() + kPieceGap)) return true;
    for (std::size_t left = pieces[index]; left > 0;) {
      const std::size_t chunk = std::min(left, pacer_.ChunkBytes());
      if (!SleepUntil(pacer_.Book(Clock::now(), chunk))) return true;
      if (!WriteAll(std::span(bytes).subspan(at, chunk))) return false;
      at += chunk;
      left -= chunk;
    }
  }
  return true;
}

bool StreamWriter::WriteAll(std::span<const std::uint8_t> bytes) {
  const Clock::time_point giveUp = Clock::now() + kWriteStallLimit;
  while (!bytes.empty()) {
    pollfd writable{fd_, POLLOUT, 0};
    const int ready = ::poll(&writable, 1, kPollSliceMs);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0) {
      if ((writable.revents & (POLLERR | POLLNVAL)) != 0) return false;
      // send() with MSG_NOSIGNAL where the descriptor is a socket; a pseudo-terminal takes write().
      ssize_t written = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (written < 0 && errno == ENOTSOCK) written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        log_.Info(name_ + ": write failed: " + std::strerror(errno));
        return false;
      }
      if (written > 0) bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return true;
    }
    if (!bytes.empty() && Clock::now() > giveUp) {
      log_.Info(name_ + ": peer takes nothing, rest of the message dropped");
      return true;
    }
  }
  return true;
}

bool StreamWriter::SleepUntil(Clock::time_point when) {
  std::unique_lock lock(mutex_);
  return !changed_.wait_until(lock, when, [this] { return stopping_; });
}

}  // namespace rmt4::emulator
