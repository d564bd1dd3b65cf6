#pragma once

#include "transport/hid_backend.h"

namespace rmt4 {

/// The system's HID devices through hidapi's hidraw backend.
///
/// hidapi has no write timeout and a hidraw write blocks until the kernel has
/// handed the report to the device (up to the USB stack's own limit of
/// seconds). So each write handle has one writer thread that performs the
/// write while the caller waits at most its limit; while a write that ran
/// over is still pending, further writes on that handle fail at once, and
/// closing the handle waits for it to end.
class HidapiBackend final : public HidBackend {
 public:
  [[nodiscard]] std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId) override;
  [[nodiscard]] HidOpenResult Open(const std::string& path) override;
};

}  // namespace rmt4
