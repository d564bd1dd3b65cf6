#pragma once

#include <atomic>
#include <chrono>

#include "protocol/link_transport.h"
#include "transport/network_discovery.h"
#include "transport/network_endpoints.h"
#include "transport/tcp_link.h"

namespace rmt4 {

/// Waits of the network connection; tests shorten them.
struct NetworkTiming {
  /// For the console's answer to the address-0 probe after connecting.
  std::chrono::milliseconds probeWait{5000};
  /// For each answer to the re-probe after silence.
  std::chrono::milliseconds reprobeWait{1000};
  /// For one TCP connect.
  std::chrono::milliseconds connectTimeout{1000};
  /// For this PC's address to appear on a network interface.
  std::chrono::milliseconds localAddressSearch{1000};
};

/// Connection kind 2: TCP to the console's network module, found by UDP.
class NetworkTransport final : public LinkTransport {
 public:
  /// The endpoints come from the environment (RMT4_LOCAL_ADDRESS, ...).
  NetworkTransport(LinkContext& context, FrameSender& sender);
  NetworkTransport(LinkContext& context, FrameSender& sender, NetworkEndpoints endpoints, NetworkTiming timing = {});
  NetworkTransport(const NetworkTransport&) = delete;
  NetworkTransport& operator=(const NetworkTransport&) = delete;
  ~NetworkTransport() override;

  void Connect() override { NetworkConnect(); }
  [[nodiscard]] bool IsConnected() const override;
  void Send(std::span<const std::uint8_t> frame) override { tcp_.Send(frame); }
  void Close() override { NetworkClose(); }
  bool OnSilence() override { return NetworkReprobe(); }

  /// Restarts the search and returns once the console answered over TCP
  /// (linkUp set) or the program is closing.
  void NetworkConnect();
  /// Reconnects TCP and probes the silent console; true when it connected.
  bool NetworkReprobe();
  /// Ends the TCP reader and the search thread.
  void NetworkClose();
  /// A new TCP connection to the chosen module; 0 when connected, else the error number.
  OsResult TcpConnect();

  [[nodiscard]] Ipv4Address serverAddress() const { return discovery_.addresses().serverAddress.load(); }
  [[nodiscard]] Ipv4Address linkedHostAddress() const { return discovery_.addresses().linkedHostAddress.load(); }
  [[nodiscard]] Ipv4Address localAddress() const { return discovery_.addresses().localAddress.load(); }
  /// The TCP reader and the search thread, for checking that they end.
  [[nodiscard]] bool ReaderRunning() const { return tcp_.ReaderRunning(); }
  [[nodiscard]] bool DiscoveryRunning() const { return discovery_.Running(); }

 private:
  void ReportSettingProblems();
  /// After the module took no conversation: when it names the PC it is
  /// linked to, the owner hears that the console is busy with that PC (once
  /// for each PC named).
  void ReportIfBusy();
  /// NetworkConnect to the one named console, straight over TCP.
  void ConnectDirectly(Ipv4Address console);
  /// Waits until the chosen module is free or linked to this PC; false when closing.
  bool WaitForFreeModule();
  void LetUserChooseConsole();
  /// Reads address 0 over the new connection; true when its value arrived.
  bool ProbeAddressZero();
  void ShowSearching();

  LinkContext& context_;
  FrameSender& sender_;
  const NetworkEndpoints endpoints_;
  const NetworkTiming timing_;
  bool problemsReported_ = false;
  Ipv4Address reportedBusyWith_ = 0;  // link worker thread only
  std::atomic<bool> tcpProblemReported_{false};
  NetworkDiscovery discovery_;
  TcpLink tcp_;
};

}  // namespace rmt4
