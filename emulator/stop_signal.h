#pragma once

#include "platform/unique_fd.h"

namespace rmt4::emulator {

/// A descriptor that becomes readable once stopping starts, so every
/// thread's poll() wakes at once. Raising it again is harmless.
class StopSignal {
 public:
  StopSignal();
  void Raise();
  [[nodiscard]] int Fd() const { return fd_.Get(); }

 private:
  UniqueFd fd_;
};

}  // namespace rmt4::emulator
