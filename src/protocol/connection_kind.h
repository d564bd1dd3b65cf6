#pragma once

namespace rmt4 {

/// How the console is reached: 1 USB HID, 2 network, 3 serial with the longer
/// (Bluetooth) timing, any other value serial.
using ConnectionKind = int;
inline constexpr ConnectionKind kUsbHid = 1;
inline constexpr ConnectionKind kNetwork = 2;
inline constexpr ConnectionKind kSerialLongTiming = 3;

/// Waits and limits of the link, chosen per connection kind.
struct LinkTiming {
  int readBatchWaitMs;
  int uploadBatchWaitMs;
  int replyWaitMs;
  int silenceLimitMs;
  int missLimit;
};

[[nodiscard]] constexpr LinkTiming TimingFor(ConnectionKind kind) {
  switch (kind) {
    case kUsbHid:
      return {100, 800, 200, 1500, 4};
    case kNetwork:
      return {1000, 2000, 1000, 3000, 14};
    case kSerialLongTiming:
      return {100, 500, 1000, 3000, 14};
    default:
      return {100, 800, 200, 1500, 4};
  }
}

}  // namespace rmt4
