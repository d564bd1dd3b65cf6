#pragma once

#include <cstdint>
#include <string>

namespace rmt4 {

/// "HID_VID_%x_PID_%x": the name of the system-wide lock that keeps one
/// program on the device.
[[nodiscard]] std::string HidChannelLockName(std::uint16_t vendorId, std::uint16_t productId);

}  // namespace rmt4
