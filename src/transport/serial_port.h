#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/os_result.h"
#include "platform/unique_fd.h"
#include "transport/serial_device.h"
#include "transport/worker_thread.h"

namespace rmt4 {

/// One open serial device and its reader thread. The reader hands every
/// block it reads to `onBytes`; when the device goes away (unplugged, or the
/// other end of a pseudo-terminal closed) it marks the port closed, calls
/// `onRemoved` and ends. Open, Write and Close may come from different
/// threads; the reader never waits for the guard they share.
class SerialPort {
 public:
  using BytesHandler = std::function<void(std::span<const std::uint8_t>)>;
  using RemovalHandler = std::function<void()>;

  SerialPort(BytesHandler onBytes, RemovalHandler onRemoved);
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort();

  /// Closes the port, then opens `path` at `baudRate` and starts the reader.
  /// Success, or why the port could not be opened.
  OsResult Open(const std::string& path, int baudRate);
  /// Writes the whole frame; false when the port is closed or the device
  /// does not take the bytes in time. A frame for a closed port is dropped.
  bool Write(std::span<const std::uint8_t> bytes);
  /// Ends the reader, puts the device's settings back and closes it; safe at any time.
  void Close();

  [[nodiscard]] bool IsOpen() const { return open_.load(); }
  /// The line rate the driver reports, 0 when closed.
  [[nodiscard]] int LineSpeed() const;
  [[nodiscard]] bool ReaderRunning() const { return reader_.Running(); }

 private:
  void CloseLocked();
  void ReadLoop(int device, int wake);

  const BytesHandler onBytes_;
  const RemovalHandler onRemoved_;
  mutable std::mutex mutex_;
  std::unique_ptr<SerialDevice> device_;
  UniqueFd wake_;  // written by Close to end the reader's wait at once
  std::atomic<bool> open_{false};
  WorkerThread reader_;
};

}  // namespace rmt4
