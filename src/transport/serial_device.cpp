#include "transport/serial_device.h"

// termios2 and BOTHER come from the kernel's headers, which clash with the C
// library's <termios.h>; this file therefore uses ioctl only.
#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace rmt4 {
namespace {

/// The console's line, in place of whatever the device was set to, and raw
/// so that no byte of a binary frame is translated or taken as a signal.
termios2 ConsoleLine(termios2 line, int baudRate) {
  line.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CIBAUD | CSIZE | PARENB | CSTOPB | CRTSCTS);
  line.c_cflag |= BOTHER | CS8 | CREAD | CLOCAL;
  line.c_ispeed = static_cast<speed_t>(baudRate);
  line.c_ospeed = static_cast<speed_t>(baudRate);
  line.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                         IXANY | INPCK);
  line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  return line;
}

}  // namespace

std::unique_ptr<SerialDevice> SerialDevice::Open(const std::string& path, int baudRate, OsResult& result) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) {
    result = OsResult::FromErrno();
    return nullptr;
  }
  std::unique_ptr<SerialDevice> device(new SerialDevice(std::move(fd)));
  // Like a COM port opened without sharing: a second open fails until this one closes.
  if (::ioctl(device->Fd(), TIOCEXCL) != 0 || !device->Configure(baudRate)) {
    result = OsResult::FromErrno();
    return nullptr;
  }
  // Whatever was queued belongs to no exchange of this link; a port that
  // cannot even be flushed would not carry one either.
  if (::ioctl(device->Fd(), TCFLSH, TCIOFLUSH) != 0) {
    result = OsResult::FromErrno();
    return nullptr;
  }
  result = OsResult();
  return device;
}

SerialDevice::SerialDevice(UniqueFd fd) : fd_(std::move(fd)) {}

SerialDevice::~SerialDevice() {
  // Both fail harmlessly on a device that has gone away.
  if (saved_) ::ioctl(fd_.Get(), TCSETS2, saved_.get());
  ::ioctl(fd_.Get(), TIOCNXCL);
}

bool SerialDevice::Configure(int baudRate) {
  auto found = std::make_unique<termios2>();
  if (::ioctl(fd_.Get(), TCGETS2, found.get()) != 0) return false;
  const termios2 line = ConsoleLine(*found, baudRate);
  saved_ = std::move(found);
  return ::ioctl(fd_.Get(), TCSETS2, &line) == 0;
}

int SerialDevice::LineSpeed() const {
  termios2 line{};
  if (::ioctl(fd_.Get(), TCGETS2, &line) != 0) return 0;
  return static_cast<int>(line.c_ospeed);
}

}  // namespace rmt4
