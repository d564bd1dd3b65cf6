#pragma once

#include <memory>
#include <string>

#include "platform/os_result.h"
#include "platform/unique_fd.h"

struct termios2;

namespace rmt4 {

/// An open serial device set to the console's line: the given rate (any
/// rate, not only the standard ones), 8 data bits, no parity, 1 stop bit,
/// no flow control, raw bytes. Held exclusively; the settings it found are
/// put back when it closes.
class SerialDevice {
 public:
  /// Opens and configures `path`; null with `error` set to the system's
  /// error number when the device cannot be opened or configured.
  [[nodiscard]] static std::unique_ptr<SerialDevice> Open(const std::string& path, int baudRate, OsResult& result);
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  /// Non-blocking descriptor for reading and writing.
  [[nodiscard]] int Fd() const { return fd_.Get(); }
  /// The output rate the driver reports now, in bit/s; 0 when it cannot be read.
  [[nodiscard]] int LineSpeed() const;

 private:
  explicit SerialDevice(UniqueFd fd);
  /// Remembers the current settings and applies the console's line.
  [[nodiscard]] bool Configure(int baudRate);

  UniqueFd fd_;
  std::unique_ptr<termios2> saved_;
};

}  // namespace rmt4
