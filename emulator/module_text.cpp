#include "emulator/module_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

namespace rmt4::emulator {
namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kRefused = "ERROR";
// Wi-Fi limits: an SSID has at most 32 bytes, a WPA passphrase at most 63.
constexpr std::size_t kMaxSsid = 32;
constexpr std::size_t kMaxPassword = 63;
// "00-11-22-33-44-55" is 17 characters; the settings dialog never needs more.
constexpr std::size_t kMaxMac = 17;
constexpr Ipv4 kDefaultMask = 0xFF000000;  // 255.0.0.0: the module lives on loopback
constexpr Ipv4 kDefaultGateway = 0x7F000001;

std::string Hex(std::uint32_t number) {
  std::array<char, 9> text{};
  std::snprintf(text.data(), text.size(), "%08X", number);
  return text.data();
}

// Fields of a configuration text end at any character below 33, as the
// settings dialog splits them.
std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || static_cast<unsigned char>(text[i]) < 33) {
      if (i > start) fields.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return fields;
}

// Line ends that a hand-typed command may carry are not part of the value.
std::string_view TrimLineEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  return text;
}

std::string StoreText(std::string& field, std::string_view argument, std::size_t limit) {
  argument = TrimLineEnd(argument);
  if (argument.size() > limit) return std::string(kRefused);
  field.assign(argument);
  return std::string(kOk);
}

}  // namespace


const NetworkModule::CommandEntry NetworkModule::kCommands[] = {
    {"Get_IP:", &NetworkModule::GetIp},
    {"Get_LinkIP:", &NetworkModule::GetLinkIp},
    {"Get_WiFiMode:", &NetworkModule::GetWifiMode},
    {"Get_TCPPort:", &NetworkModule::GetTcpPort},
    {"Get_UDPPort:", &NetworkModule::GetUdpPort},
    {"Get_RouteSSID:", &NetworkModule::GetRouteSsid},
    {"Get_RoutePW:", &NetworkModule::GetRoutePassword},
    {"Get_HotSSID:", &NetworkModule::GetHotSsid},
    {"Get_HotPW:", &NetworkModule::GetHotPassword},
    {"Get_Confi:", &NetworkModule::GetConfig},
    {"Set_WiFiMode:", &NetworkModule::SetWifiMode},
    {"Set_RouteSSID:", &NetworkModule::SetRouteSsid},
    {"Set_RoutePW:", &NetworkModule::SetRoutePassword},
    {"Set_HotSSID:", &NetworkModule::SetHotSsid},
    {"Set_HotPW:", &NetworkModule::SetHotPassword},
    {"Set_Restore:", &NetworkModule::SetRestore},
    {"Set_Restart:", &NetworkModule::SetRestart},
    {"Set_Confi:", &NetworkModule::SetConfig},
};

NetworkModule::NetworkModule(ModuleIdentity identity) : identity_(identity), config_(DefaultConfig()) {}

std::optional<std::string> NetworkModule::Answer(std::string_view text) {
  // Over UDP the PC sends the terminating zero byte with the text.
  text = text.substr(0, text.find('\0'));
  for (const CommandEntry& command : kCommands) {
    if (text.starts_with(command.name)) {
      return std::string(command.name) + (this->*command.handler)(text.substr(command.name.size()));
    }
  }
  return std::nullopt;
}

ModuleConfig NetworkModule::DefaultConfig() const {
  // A locally administered MAC that ends in the module's own address.
  const Ipv4 a = identity_.address;
  std::array<char, 18> mac{};
  std::snprintf(mac.data(), mac.size(), "02-00-%02X-%02X-%02X-%02X", a >> 24, a >> 16 & 0xFF, a >> 8 & 0xFF, a & 0xFF);
  return ModuleConfig{identity_.address, kDefaultMask, kDefaultGateway, mac.data()};
}

std::string NetworkModule::GetIp(std::string_view) { return Hex(identity_.address); }
std::string NetworkModule::GetLinkIp(std::string_view) { return Hex(linkedHost_); }
std::string NetworkModule::GetWifiMode(std::string_view) { return Hex(wifi_.mode); }
std::string NetworkModule::GetTcpPort(std::string_view) { return std::to_string(identity_.tcpPort); }
std::string NetworkModule::GetUdpPort(std::string_view) { return std::to_string(identity_.udpPort); }
std::string NetworkModule::GetRouteSsid(std::string_view) { return wifi_.routeSsid; }
std::string NetworkModule::GetRoutePassword(std::string_view) { return wifi_.routePassword; }
std::string NetworkModule::GetHotSsid(std::string_view) { return wifi_.hotSsid; }
std::string NetworkModule::GetHotPassword(std::string_view) { return wifi_.hotPassword; }

std::string NetworkModule::GetConfig(std::string_view) {
  // The settings dialog splits at characters below 33 and takes the MAC only
  // when such a character follows it, hence the closing carriage return.
  return FormatIpv4(config_.address) + ' ' + FormatIpv4(config_.mask) + ' ' + FormatIpv4(config_.gateway) + ' ' +
         config_.mac + '\r';
}

std::string NetworkModule::SetWifiMode(std::string_view argument) {
  argument = TrimLineEnd(argument);
  std::uint32_t mode = 0;
  const auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), mode, 16);
  if (argument.empty() || error != std::errc{} || end != argument.data() + argument.size()) {
    return std::string(kRefused);
  }
  wifi_.mode = mode;
  return std::string(kOk);
}

std::string NetworkModule::SetRouteSsid(std::string_view argument) {
  return StoreText(wifi_.routeSsid, argument, kMaxSsid);
}
std::string NetworkModule::SetRoutePassword(std::string_view argument) {
  return StoreText(wifi_.routePassword, argument, kMaxPassword);
}
std::string NetworkModule::SetHotSsid(std::string_view argument) {
  return StoreText(wifi_.hotSsid, argument, kMaxSsid);
}
std::string NetworkModule::SetHotPassword(std::string_view argument) {
  return StoreText(wifi_.hotPassword, argument, kMaxPassword);
}

std::string NetworkModule::SetRestore(std::string_view) {
  config_ = DefaultConfig();
  wifi_ = WifiSettings{};
  return std::string(kOk);
}

std::string NetworkModule::SetRestart(std::string_view) { return std::string(kOk); }

std::string NetworkModule::SetConfig(std::string_view argument) {
  // Address, mask and gateway must all be valid before anything changes; an
  // empty MAC field keeps the MAC.
  const std::vector<std::string_view> fields = SplitFields(argument);
  if (fields.size() < 3 || fields.size() > 4) return std::string(kRefused);
  const auto address = ParseIpv4(fields[0]);
  const auto mask = ParseIpv4(fields[1]);
  const auto gateway = ParseIpv4(fields[2]);
  if (!address || !mask || !gateway) return std::string(kRefused);
  if (fields.size() == 4 && fields[3].size() > kMaxMac) return std::string(kRefused);
  config_.address = *address;
  config_.mask = *mask;
  config_.gateway = *gateway;
  if (fields.size() == 4) config_.mac.assign(fields[3]);
  return std::string(kOk);
}

}  // namespace rmt4::emulator
