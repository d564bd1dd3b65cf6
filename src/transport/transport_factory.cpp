#include "transport/transport_factory.h"

#include "transport/hid_transport.h"
#include "transport/network_transport.h"
#include "transport/serial_transport.h"

namespace rmt4 {

TransportFactory MakeTransportFactory(TransportChoice choice) {
  return [choice](ConnectionKind kind, LinkContext& context, FrameSender& sender) -> std::unique_ptr<LinkTransport> {
    if (kind == kUsbHid) return std::make_unique<HidTransport>(context, sender);
    if (kind == kNetwork) {
      NetworkEndpoints endpoints = NetworkEndpoints::FromEnvironment();
      endpoints.onlyConsole = choice.onlyConsole;
      endpoints.connectDirectly = choice.connectDirectly;
      return std::make_unique<NetworkTransport>(context, sender, std::move(endpoints));
    }
    // Every other kind is a serial port.
    return std::make_unique<SerialTransport>(context, sender, SerialPortSourceFromEnvironment(choice.serialDevice));
  };
}

}  // namespace rmt4
