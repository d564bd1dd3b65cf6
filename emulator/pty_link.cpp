#include "emulator/pty_link.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>

#include <array>
#include <cerrno>

#include "emulator/socket_util.h"

namespace rmt4::emulator {
namespace {

constexpr std::size_t kReadBytes = 1500;
// If the PC has gone for good the master reports a hang-up on every poll; this pause keeps that from spinning.
constexpr int kHangUpPauseMs = 50;

}  // namespace

std::unique_ptr<PtyLink> PtyLink::Open(Services services, std::string& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master.Valid() || ::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0) {
    error = ErrnoText("cannot open a pseudo-terminal");
    return nullptr;
  }
  std::array<char, 128> name{};
  if (::ptsname_r(master.Get(), name.data(), name.size()) != 0) {
    error = ErrnoText("cannot name the pseudo-terminal");
    return nullptr;
  }
  UniqueFd slave(::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios settings{};
  if (!slave.Valid() || ::tcgetattr(slave.Get(), &settings) != 0) {
    error = ErrnoText("cannot open the pseudo-terminal's device");
    return nullptr;
  }
  // Raw: no echo of the PC's bytes back into the emulator, no line editing.
  ::cfmakeraw(&settings);
  if (::tcsetattr(slave.Get(), TCSANOW, &settings) != 0) {
    error = ErrnoText("cannot make the pseudo-terminal raw");
    return nullptr;
  }
  return std::unique_ptr<PtyLink>(new PtyLink(std::move(master), std::move(slave), name.data(), services));
}

PtyLink::PtyLink(UniqueFd master, UniqueFd slave, std::string path, Services services)
    : master_(std::move(master)),
      slave_(std::move(slave)),
      path_(std::move(path)),
      services_(services),
      writer_(master_.Get(), services.shaping, services.log, "serial"),
      session_(services.console, [this](const LinkFrame& reply) { writer_.Send(reply.Bytes()); }) {
  services_.hub.Attach(writer_);
  thread_ = std::thread([this] { Run(); });
}

PtyLink::~PtyLink() {
  destroying_.Raise();
  thread_.join();
  services_.hub.Detach(writer_);
}

void PtyLink::Run() {
  std::array<std::uint8_t, kReadBytes> bytes{};
  while (true) {
    std::array<pollfd, 3> watched{
        {{services_.stop.Fd(), POLLIN, 0}, {destroying_.Fd(), POLLIN, 0}, {master_.Get(), POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), -1) < 0) {
      if (errno == EINTR) continue;
      services_.log.Error(ErrnoText("serial poll failed"));
      return;
    }
    if (watched[0].revents != 0 || watched[1].revents != 0) return;
    if (watched[2].revents == 0) continue;
    const ssize_t count = ::read(master_.Get(), bytes.data(), bytes.size());
    if (count <= 0) {
      // Nothing readable after a wake-up (an end of file included) must not spin either.
      if (count == 0 || (errno != EAGAIN && errno != EINTR)) ::poll(nullptr, 0, kHangUpPauseMs);
      continue;
    }
    const std::span received(bytes.data(), static_cast<std::size_t>(count));
    services_.log.Traffic("serial rx", received);
    if (!services_.shaping.silence.Active()) session_.Receive(received);
  }
}

}  // namespace rmt4::emulator
