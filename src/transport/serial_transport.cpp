#include "transport/serial_transport.h"

#include "transport/address_zero_probe.h"


#include "protocol/frame_sender.h"
#include "protocol/link_context.h"

namespace rmt4 {
namespace {

using std::chrono::milliseconds;

/// How long a port has to answer the address-0 probe.
constexpr milliseconds kProbeWait{500};
/// Lets the device settle after opening, before the answer is awaited.
constexpr milliseconds kBeforeProbeWait{50};
/// Lets late bytes of the answer arrive before the verdict.
constexpr milliseconds kAfterProbeWait{100};
constexpr milliseconds kBetweenAttempts{10};
/// Between rounds over the whole list, so a machine without ports is not kept busy.
constexpr milliseconds kBetweenRounds{100};

}  // namespace

SerialTransport::SerialTransport(LinkContext& context, FrameSender& sender, SerialPortSource ports)
    : context_(context),
      sender_(sender),
      listPorts_(std::move(ports)),
      port_([this](std::span<const std::uint8_t> bytes) { context_.parser.Parse(bytes); },
            [this] { OnPortRemoved(); }) {}

SerialTransport::~SerialTransport() { port_.Close(); }

void SerialTransport::SerialConnect() {
  if (context_.appRunning.load()) context_.SendStatus(LinkStatus::Searching);
  while (context_.appRunning.load()) {
    if (!context_.appRunning.SleepFor(kBetweenAttempts)) return;
    if (cursor_ < ports_.size()) {
      const std::string& device = ports_[cursor_++];
      context_.SearchingFor("serial " + device);
      if (SerialOpen(device)) {
        if (ProbeAddressZero()) {
          {
            std::lock_guard lock(deviceMutex_);
            connectedDevice_ = device;
          }
          context_.trace.Event("serial connected", device);
          context_.linkUp.store(true);
          return;
        }
        // Something else is on this port; leave it to its owner.
        context_.trace.Event("serial probe unanswered", device);
        SerialClose();
      }
    }
    if (cursor_ >= ports_.size()) {
      ports_ = listPorts_();
      cursor_ = 0;
      (void)context_.appRunning.SleepFor(kBetweenRounds);
    }
  }
}

bool SerialTransport::SerialOpen(const std::string& device) {
  SerialClose();
  return port_.Open(device, BaudRate()).ok();
}

void SerialTransport::SerialWrite(std::span<const std::uint8_t> frame) { (void)port_.Write(frame); }

void SerialTransport::SerialClose() {
  if (port_.IsOpen()) {
    context_.trace.Event("serial closed");
    context_.linkUp.store(false);
    context_.state.reply.ReleaseIfAwaiting();
  }
  // Also releases a device whose reader already saw it vanish.
  port_.Close();
}

std::string SerialTransport::ConnectedDevice() const {
  std::lock_guard lock(deviceMutex_);
  return connectedDevice_;
}

bool SerialTransport::ProbeAddressZero() {
  return rmt4::ProbeAddressZero(context_, sender_,
                                {.settle = kBeforeProbeWait, .wait = kProbeWait, .linger = kAfterProbeWait},
                                [this] { return port_.IsOpen(); });
}

void SerialTransport::OnPortRemoved() {
  context_.linkUp.store(false);
  context_.state.reply.ReleaseIfAwaiting();
}

int SerialTransport::BaudRate() const {
  return context_.serialBaudRate > 0 ? context_.serialBaudRate : kDefaultBaudRate;
}

}  // namespace rmt4
