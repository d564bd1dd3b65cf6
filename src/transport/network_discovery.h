#pragma once

#include <atomic>
#include <chrono>
#include <mutex>

#include "platform/ipv4_address.h"
#include "protocol/run_flag.h"
#include "transport/network_endpoints.h"
#include "transport/udp_socket.h"
#include "transport/worker_thread.h"

namespace rmt4 {

struct LinkContext;

/// What the console search has learnt, shared with the connect routine.
struct DiscoveredAddresses {
  static constexpr Ipv4Address kLinkedHostUnknown = 0xFFFFFFFF;

  /// The chosen console module; 0 = none.
  std::atomic<Ipv4Address> serverAddress{0};
  /// The PC the module reports as linked to it; 0 = free.
  std::atomic<Ipv4Address> linkedHostAddress{kLinkedHostUnknown};
  /// This PC's address, known once the search thread has started.
  std::atomic<Ipv4Address> localAddress{0};
};

/// The console search thread: finds modules by "Get_IP:" datagrams (a
/// broadcast, then a sweep of the local /24), asks the chosen module which
/// PC it is linked to, and then keeps serving the module commands over UDP.
class NetworkDiscovery {
 public:
  NetworkDiscovery(LinkContext& context, const NetworkEndpoints& endpoints, std::chrono::milliseconds localAddressLimit);
  NetworkDiscovery(const NetworkDiscovery&) = delete;
  NetworkDiscovery& operator=(const NetworkDiscovery&) = delete;
  ~NetworkDiscovery() { Stop(); }

  /// Starts a new thread after ending any earlier one; not while the program closes.
  void Start();
  /// Ends the thread and waits for it. Every wait of the thread looks at the
  /// stop at least every few tens of milliseconds, and the host-name lookup
  /// runs beside it, so only a message box on screen keeps it longer (the
  /// owner closes those when the program closes).
  void Stop();
  /// Ends the thread and waits up to `limit`; a thread still busy (a message box
  /// on screen) is joined later, at the latest by the destructor.
  void StopFor(std::chrono::milliseconds limit);
  [[nodiscard]] bool Running() const { return thread_.Running(); }

  DiscoveredAddresses& addresses() { return addresses_; }
  [[nodiscard]] const DiscoveredAddresses& addresses() const { return addresses_; }

 private:
  void Run();
  /// Binds the UDP port, retrying quietly after one report; false when stopping.
  bool OpenSocket();
  void ReportBindFailure(OsResult error);
  /// Sends one datagram to the module's port; the first failure is reported.
  void SendTo(Ipv4Address address, std::string_view text);
  void Search();
  /// "Get_IP:" to hosts 2..254 of this PC's /24.
  void SweepSubnet();
  void SendPendingModuleCommand();
  void AskLinkedHost();
  static constexpr Ipv4Address kAnySender = 0;
  /// Takes the module texts that arrive within `limit`; only those sent by
  /// `from` unless it is kAnySender (the search hears every module). True
  /// when a datagram arrived (from any host).
  bool Receive(std::chrono::milliseconds limit, Ipv4Address from = kAnySender);
  [[nodiscard]] bool KeepRunning() const;
  /// Lowers `running_` and ends a receive in progress.
  void StopRunning();

  LinkContext& context_;
  const NetworkEndpoints& endpoints_;
  const std::chrono::milliseconds localAddressLimit_;
  DiscoveredAddresses addresses_;
  UdpSocket socket_;
  int commandCursor_ = 0;
  /// Lowered to end the search thread; its pauses end with it.
  RunFlag running_;
  bool bindFailureReported_ = false;
  bool sendFailureReported_ = false;
  /// Serialises Start and Stop.
  std::mutex controlMutex_;
  WorkerThread thread_;
};

}  // namespace rmt4
