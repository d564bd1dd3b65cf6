#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "protocol/hid_message.h"

namespace rmt4 {

/// One present HID interface.
struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

enum class HidIoStatus { Done, TimedOut, Failed };

struct HidReadResult {
  HidIoStatus status = HidIoStatus::Failed;
  /// Data bytes received (the report number is not among them).
  std::size_t count = 0;
};

/// One open handle on a HID interface. A handle is used by one thread at a
/// time; reading and writing from two threads takes two handles.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  /// Writes one output report (report number first) and waits at most
  /// `limit` for it to complete.
  [[nodiscard]] virtual HidIoStatus Write(const HidReport& report, std::chrono::milliseconds limit) = 0;
  /// Waits up to `timeout` for one input report and stores its data bytes.
  [[nodiscard]] virtual HidReadResult Read(std::span<std::uint8_t, kHidReportDataBytes> data,
                                           std::chrono::milliseconds timeout) = 0;
};

struct HidOpenResult {
  std::unique_ptr<HidDevice> device;
  /// Why the device could not be opened, for the user.
  std::string problem;
};

/// Access to the system's HID devices: the real one, or a fake in tests.
class HidBackend {
 public:
  virtual ~HidBackend() = default;
  /// Every present interface of the vendor, whatever its product.
  [[nodiscard]] virtual std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId) = 0;
  /// No device when the interface cannot be opened (gone, or no permission).
  [[nodiscard]] virtual HidOpenResult Open(const std::string& path) = 0;
};

}  // namespace rmt4
