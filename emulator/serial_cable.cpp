#include "emulator/serial_cable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "emulator/socket_util.h"

namespace rmt4::emulator {

using Clock = std::chrono::steady_clock;

SerialCable::SerialCable(PtyLink::Services services, std::optional<std::string> linkPath)
    : services_(services), linkPath_(std::move(linkPath)) {}

SerialCable::~SerialCable() {
  pty_.reset();
  if (linkMade_ && ::unlink(linkPath_->c_str()) != 0) services_.log.Error(ErrnoText("cannot remove " + *linkPath_));
}

std::string SerialCable::Plug() {
  std::string error;
  auto pty = PtyLink::Open(services_, error);
  if (!pty) return error;
  if (linkPath_) {
    if (error = PointLinkAt(pty->DevicePath()); !error.empty()) return error;
  }
  pty_ = std::move(pty);
  replugAt_.reset();
  services_.log.Info("serial plugged: " + pty_->DevicePath());
  return {};
}

bool SerialCable::Pull() {
  if (!pty_) return false;
  pty_.reset();
  replugAt_ = Clock::now() + kPulledFor;
  services_.log.Info("serial pulled");
  return true;
}

int SerialCable::MillisecondsToReplug() const {
  if (!replugAt_) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*replugAt_ - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void SerialCable::ReplugWhenDue() {
  if (!replugAt_ || Clock::now() < *replugAt_) return;
  if (const std::string error = Plug(); !error.empty()) {
    services_.log.Error(error);
    replugAt_ = Clock::now() + kPulledFor;
  }
}

std::string SerialCable::PointLinkAt(const std::string& device) {
  // Only a link of ours is replaced: a file of the same name is someone else's.
  struct stat existing {};
  if (::lstat(linkPath_->c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    return *linkPath_ + " exists and is not a symbolic link";
  }
  const std::string fresh = *linkPath_ + ".new";
  ::unlink(fresh.c_str());  // a leftover of a killed run; absent as a rule
  if (::symlink(device.c_str(), fresh.c_str()) != 0) return ErrnoText("cannot make the link " + fresh);
  if (std::rename(fresh.c_str(), linkPath_->c_str()) != 0) {
    const std::string error = ErrnoText("cannot replace the link " + *linkPath_);
    ::unlink(fresh.c_str());
    return error;
  }
  linkMade_ = true;
  return {};
}

}  // namespace rmt4::emulator
