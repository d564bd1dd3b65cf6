#include "emulator/stop_signal.h"

#include <sys/eventfd.h>

#include <cstdint>
#include <stdexcept>

#include "emulator/socket_util.h"

namespace rmt4::emulator {

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!fd_.Valid()) throw std::runtime_error(ErrnoText("eventfd failed"));
}

void StopSignal::Raise() {
  // Never read back: the counter stays non-zero, the descriptor stays readable.
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(fd_.Get(), &one, sizeof one);
}

}  // namespace rmt4::emulator
