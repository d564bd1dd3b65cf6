#include "transport/network_endpoints.h"

#include <charconv>
#include <cstdlib>

namespace rmt4 {
namespace {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  unsigned port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc{} || end != text.data() + text.size() || port == 0 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

std::string Problem(std::string_view name, const std::string& value, std::string_view expected) {
  return std::string(name) + "=\"" + value + "\" is not " + std::string(expected) + "; the default is used.";
}

}  // namespace

NetworkEndpoints NetworkEndpoints::FromEnvironment(const Lookup& lookup) {
  NetworkEndpoints endpoints;
  auto readAddress = [&](std::string_view name, auto store) {
    if (const auto value = lookup(name)) {
      if (const auto address = ParseIpv4(*value)) {
        store(*address);
      } else {
        endpoints.problems.push_back(Problem(name, *value, "an IPv4 address"));
      }
    }
  };
  auto readPort = [&](std::string_view name, std::uint16_t& port) {
    if (const auto value = lookup(name)) {
      if (const auto parsed = ParsePort(*value)) {
        port = *parsed;
      } else {
        endpoints.problems.push_back(Problem(name, *value, "a port number 1..65535"));
      }
    }
  };
  readAddress("RMT4_LOCAL_ADDRESS", [&](Ipv4Address address) { endpoints.localAddress = address; });
  readAddress("RMT4_BROADCAST_ADDRESS", [&](Ipv4Address address) { endpoints.broadcastAddress = address; });
  readPort("RMT4_TCP_PORT", endpoints.tcpPort);
  readPort("RMT4_UDP_PORT", endpoints.udpPort);
  return endpoints;
}

NetworkEndpoints NetworkEndpoints::FromEnvironment() {
  return FromEnvironment([](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  });
}

}  // namespace rmt4
