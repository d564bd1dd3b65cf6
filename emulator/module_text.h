#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ipv4_address.h"

namespace rmt4::emulator {

/// IPv4 addresses in host order, first octet in the most significant byte.
using Ipv4 = std::uint32_t;


/// The network settings the module keeps: its address, mask, gateway and MAC text.
struct ModuleConfig {
  Ipv4 address = 0;
  Ipv4 mask = 0;
  Ipv4 gateway = 0;
  std::string mac;
};

/// The Wi-Fi settings the module reports and accepts; nothing here acts on them.
struct WifiSettings {
  std::uint32_t mode = 0;
  std::string routeSsid;
  std::string routePassword;
  std::string hotSsid;
  std::string hotPassword;
};

/// What the module knows about its own endpoints; fixed while it runs.
struct ModuleIdentity {
  Ipv4 address = 0;
  std::uint16_t tcpPort = 0;
  std::uint16_t udpPort = 0;
};

/// The console's network module: answers its text commands ("Get_IP:",
/// "Set_Confi:" ...) with a text that starts with the same name. A stored
/// configuration is reported back but never moves the module off the
/// address it serves on. Not thread-safe; the responder serialises access.
class NetworkModule {
 public:
  explicit NetworkModule(ModuleIdentity identity);

  /// The answer to one command; nothing for a text the module does not know.
  /// A terminating zero byte and what follows it are ignored.
  [[nodiscard]] std::optional<std::string> Answer(std::string_view text);

  /// The PC connected over TCP; 0 when none.
  void SetLinkedHost(Ipv4 host) { linkedHost_ = host; }
  [[nodiscard]] const ModuleConfig& Config() const { return config_; }

 private:
  using Handler = std::string (NetworkModule::*)(std::string_view argument);
  struct CommandEntry {
    std::string_view name;
    Handler handler;
  };
  static const CommandEntry kCommands[];

  [[nodiscard]] ModuleConfig DefaultConfig() const;

  std::string GetIp(std::string_view);
  std::string GetLinkIp(std::string_view);
  std::string GetWifiMode(std::string_view);
  std::string GetTcpPort(std::string_view);
  std::string GetUdpPort(std::string_view);
  std::string GetRouteSsid(std::string_view);
  std::string GetRoutePassword(std::string_view);
  std::string GetHotSsid(std::string_view);
  std::string GetHotPassword(std::string_view);
  std::string GetConfig(std::string_view);
  std::string SetWifiMode(std::string_view argument);
  std::string SetRouteSsid(std::string_view argument);
  std::string SetRoutePassword(std::string_view argument);
  std::string SetHotSsid(std::string_view argument);
  std::string SetHotPassword(std::string_view argument);
  std::string SetRestore(std::string_view);
  std::string SetRestart(std::string_view);
  std::string SetConfig(std::string_view argument);

  ModuleIdentity identity_;
  ModuleConfig config_;
  WifiSettings wifi_;
  Ipv4 linkedHost_ = 0;
};

}  // namespace rmt4::emulator
