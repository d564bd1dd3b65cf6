#include "transport/serial_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

namespace rmt4 {
namespace {

/// The reader hands over at most this much at once.
constexpr std::size_t kReadBlockBytes = 4096;
/// A device that takes no byte for this long has stalled; the rest of the frame is dropped.
constexpr int kWriteStallMs = 500;

}  // namespace

SerialPort::SerialPort(BytesHandler onBytes, RemovalHandler onRemoved)
    : onBytes_(std::move(onBytes)), onRemoved_(std::move(onRemoved)) {}

SerialPort::~SerialPort() { Close(); }

OsResult SerialPort::Open(const std::string& path, int baudRate) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.Valid()) return OsResult::FromErrno();
  OsResult opened;
  device_ = SerialDevice::Open(path, baudRate, opened);
  if (!device_) return opened;
  wake_ = std::move(wake);
  open_.store(true);
  if (!reader_.Start([this, device = device_->Fd(), wakeFd = wake_.Get()] { ReadLoop(device, wakeFd); })) {
    CloseLocked();
    return OsResult(EAGAIN);
  }
  return {};
}

bool SerialPort::Write(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (!open_.load()) return false;
  const int fd = device_->Fd();
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno == EAGAIN) {
      // The driver's queue is full: wait for room, but not for ever.
      pollfd room{fd, POLLOUT, 0};
      if (::poll(&room, 1, kWriteStallMs) > 0 && (room.revents & POLLOUT) != 0) continue;
    }
    return false;  // a vanished device is noticed and reported by the reader
  }
  return true;
}

void SerialPort::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

int SerialPort::LineSpeed() const {
  std::lock_guard lock(mutex_);
  return open_.load() ? device_->LineSpeed() : 0;
}

void SerialPort::CloseLocked() {
  open_.store(false);
  if (wake_.Valid()) {
    // A wake-up that cannot be written (it never should) costs at most one
    // look-again interval of the reader.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t woken = ::write(wake_.Get(), &one, sizeof one);
  }
  // The descriptors stay valid until the reader has ended.
  reader_.Join();
  device_.reset();
  wake_.Reset();
}

void SerialPort::ReadLoop(int device, int wake) {
  std::array<std::uint8_t, kReadBlockBytes> block{};
  constexpr int kLookAgainMs = 100;
  while (open_.load()) {
    std::array<pollfd, 2> watched{{{device, POLLIN, 0}, {wake, POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), kLookAgainMs) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (watched[1].revents != 0) return;  // closed by this program
    if ((watched[0].revents & POLLIN) != 0) {
      const ssize_t count = ::read(device, block.data(), block.size());
      if (count > 0) {
        onBytes_(std::span<const std::uint8_t>(block.data(), static_cast<std::size_t>(count)));
        continue;
      }
      if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      break;  // EIO or end of file: the device has gone
    }
    if ((watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) break;
  }
  if (!open_.exchange(false)) return;  // closed by this program
  onRemoved_();
}

}  // namespace rmt4
