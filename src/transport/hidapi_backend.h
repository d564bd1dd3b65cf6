#pragma once

#include "transport/hid_backend.h"

namespace rmt4 {

/// The system's HID devices through hidapi's hidraw backend.
///
/// hidapi has no write timeout, and a hidraw write blocks until the kernel
/// has handed the report to the device (up to the USB stack's own limit of
/// seconds). So every handle writes through a HidWriteThread, which gives
/// the caller its answer within the limit; closing a handle whose write ran
/// over waits for the kernel to give up on it.
class HidapiBackend final : public HidBackend {
 public:
  [[nodiscard]] std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId) override;
  [[nodiscard]] HidOpenResult Open(const std::string& path) override;
};

}  // namespace rmt4
