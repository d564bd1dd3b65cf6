#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ipv4_address.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"

namespace rmt4::test {

/// A console network module on one loopback address, small enough to steer
/// from a test: answers "Get_IP:" and "Get_LinkIP:" over UDP, echoes other
/// module commands, accepts TCP and answers the address-0 read unless told
/// to stay quiet. Ports 0 pick free ones.
class LoopbackFakeModule {
 public:
  LoopbackFakeModule(Ipv4Address address, std::uint16_t udpPort, std::uint16_t tcpPort);
  ~LoopbackFakeModule();
  LoopbackFakeModule(const LoopbackFakeModule&) = delete;
  LoopbackFakeModule& operator=(const LoopbackFakeModule&) = delete;

  [[nodiscard]] Ipv4Address address() const { return address_; }
  [[nodiscard]] std::uint16_t udpPort() const { return udpPort_; }
  [[nodiscard]] std::uint16_t tcpPort() const { return tcpPort_; }

  /// The PC this module reports as linked; the TCP peer by default once connected.
  void ReportLinkedHost(Ipv4Address host) { reportedLinkedHost_.store(host); }
  /// TCP connections (counted from 1) up to this number get no answer.
  void IgnoreConnectionsUpTo(int connection) { ignoredConnections_.store(connection); }

  [[nodiscard]] int GetIpRequests() const { return getIpRequests_.load(); }
  [[nodiscard]] int Connections() const { return connections_.load(); }
  /// Every module text received over UDP.
  [[nodiscard]] std::vector<std::string> UdpTexts() const;
  /// Bytes received on the latest TCP connection.
  [[nodiscard]] std::vector<std::uint8_t> LatestConnectionBytes() const;

 private:
  void ServeUdp();
  void ServeTcp();
  void ServeConnection(UniqueFd connection, int number);

  const Ipv4Address address_;
  std::uint16_t udpPort_ = 0;
  std::uint16_t tcpPort_ = 0;
  UniqueFd udp_;
  UniqueFd listener_;
  std::atomic<bool> stop_{false};
  std::atomic<Ipv4Address> reportedLinkedHost_{0};
  std::atomic<Ipv4Address> tcpPeer_{0};
  std::atomic<int> ignoredConnections_{0};
  std::atomic<int> getIpRequests_{0};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> udpTexts_;
  std::vector<std::uint8_t> latestBytes_;
  std::thread udpThread_;
  std::thread tcpThread_;
};

/// A free UDP port on the address (bound and released at once).
[[nodiscard]] std::uint16_t FreeUdpPort(Ipv4Address address);

}  // namespace rmt4::test
