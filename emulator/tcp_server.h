#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "emulator/console_session.h"
#include "emulator/link_hub.h"
#include "emulator/logger.h"
#include "emulator/stop_signal.h"
#include "emulator/stream_link_services.h"
#include "emulator/stream_writer.h"
#include "platform/unique_fd.h"

namespace rmt4::emulator {

/// The console's TCP port: one PC at a time. A connection arriving while a
/// PC is connected is closed at once; after that PC has gone, the next one is
/// accepted. The connected PC's address is the module's linked host.
/// Takes a socket that is already listening. Ends its thread when the shared
/// stop is raised or, at the latest, when it is destroyed.
class TcpServer {
 public:
  using Services = StreamLinkServices;

  TcpServer(UniqueFd listening, Services services);
  ~TcpServer();
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;

  /// Closes the current connection, as if the cable were pulled; returns
  /// once done. False when no PC was connected.
  bool Unplug();
  /// The connected PC, if any.
  [[nodiscard]] std::optional<Ipv4> Peer() const;

 private:
  struct Client {
    UniqueFd fd;
    Ipv4 address = 0;
    std::unique_ptr<StreamWriter> writer;
    std::unique_ptr<ConsoleSession> session;
  };

  void Run();
  void Accept();
  /// False when the connection has ended.
  bool ReadClient();
  void CloseClient();
  void ServeUnplugRequest();

  UniqueFd listening_;
  Services services_;
  UniqueFd unplugWake_;             // an eventfd, drained by the server thread
  StopSignal destroying_;           // raised by the destructor alone
  std::unique_ptr<Client> client_;  // touched by the server thread only

  mutable std::mutex peerMutex_;
  std::condition_variable unplugDone_;
  std::optional<Ipv4> peer_;
  bool unplugRequested_ = false;
  bool unplugResult_ = false;

  std::thread thread_;
};

}  // namespace rmt4::emulator
