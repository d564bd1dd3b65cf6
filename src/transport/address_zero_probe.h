#pragma once

#include <chrono>
#include <functional>

#include "protocol/frame_sender.h"
#include "protocol/link_context.h"

namespace rmt4 {

struct AddressZeroProbeTiming {
  /// Before the answer is awaited (a serial device settling after opening).
  std::chrono::milliseconds settle{0};
  std::chrono::milliseconds wait;
  /// After the wait, for late bytes of the answer.
  std::chrono::milliseconds linger{0};
};

/// The probe every transport makes on a new pipe: asks the console for
/// address 0 and waits until that value arrives (other replies do not count),
/// the time is up, the program closes or `pipeOpen` reports the pipe gone.
/// A value left from an earlier connection is forgotten first, and the
/// silence clock restarts so the probe is not taken for a frame sent into
/// silence. True when the console answered.
bool ProbeAddressZero(LinkContext& context, FrameSender& sender, const AddressZeroProbeTiming& timing,
                      const std::function<bool()>& pipeOpen);

}  // namespace rmt4
