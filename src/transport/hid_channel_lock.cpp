#include "transport/hid_channel_lock.h"

#include <cstdio>

namespace rmt4 {

std::string HidChannelLockName(std::uint16_t vendorId, std::uint16_t productId) {
  char name[32];
  std::snprintf(name, sizeof name, "HID_VID_%x_PID_%x", vendorId, productId);
  return name;
}

}  // namespace rmt4
