#include "transport/hid_channel_lock.h"

#include <gtest/gtest.h>

namespace rmt4 {
namespace {

TEST(HidChannelLock, NameIsFormattedInLowerCaseHex) {
  EXPECT_EQ(HidChannelLockName(0x4084, 0x4357), "HID_VID_4084_PID_4357");
  EXPECT_EQ(HidChannelLockName(0xABCD, 0x00EF), "HID_VID_abcd_PID_ef");
}

}  // namespace
}  // namespace rmt4
