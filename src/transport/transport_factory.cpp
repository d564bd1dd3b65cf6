#include "transport/transport_factory.h"

#include "transport/network_transport.h"

namespace rmt4 {

TransportFactory MakeTransportFactory(TransportChoice choice) {
  return [choice](ConnectionKind kind, LinkContext& context, FrameSender& sender) -> std::unique_ptr<LinkTransport> {
    if (kind != kNetwork) return nullptr;
    NetworkEndpoints endpoints = NetworkEndpoints::FromEnvironment();
    endpoints.onlyConsole = choice.onlyConsole;
    return std::make_unique<NetworkTransport>(context, sender, std::move(endpoints));
  };
}

bool TransportAvailable(ConnectionKind kind) { return kind == kNetwork; }

}  // namespace rmt4
