#include "transport/transport_factory.h"

#include "transport/hid_transport.h"
#include "transport/network_transport.h"
#include "transport/serial_transport.h"

namespace rmt4 {
namespace {

/// Every kind that is neither USB HID nor the network is a serial port.
bool IsSerialKind(ConnectionKind kind) { return kind != kUsbHid && kind != kNetwork; }

}  // namespace

TransportFactory MakeTransportFactory(TransportChoice choice) {
  return [choice](ConnectionKind kind, LinkContext& context, FrameSender& sender) -> std::unique_ptr<LinkTransport> {
    if (kind == kUsbHid) return std::make_unique<HidTransport>(context, sender);
    if (kind == kNetwork) {
      NetworkEndpoints endpoints = NetworkEndpoints::FromEnvironment();
      endpoints.onlyConsole = choice.onlyConsole;
      return std::make_unique<NetworkTransport>(context, sender, std::move(endpoints));
    }
    if (IsSerialKind(kind)) {
      return std::make_unique<SerialTransport>(context, sender, SerialPortSourceFromEnvironment(choice.serialDevice));
    }
    return nullptr;
  };
}

bool TransportAvailable(ConnectionKind kind) { return kind == kNetwork || kind == kUsbHid || IsSerialKind(kind); }

}  // namespace rmt4
