#pragma once

#include <thread>

#include "emulator/console_responder.h"
#include "emulator/fault_plan.h"
#include "emulator/logger.h"
#include "emulator/stop_signal.h"
#include "platform/unique_fd.h"

namespace rmt4::emulator {

/// The network module's UDP port: each datagram is one text command, the
/// answer goes back to the sender's address and port. Answers are subject
/// to the same drop, corrupt, delay and silence faults as frames. Ends its
/// thread when the shared stop is raised or, at the latest, when destroyed.
class UdpServer {
 public:
  struct Services {
    ConsoleResponder& console;
    FaultPlan& faults;
    const Silence& silence;
    Logger& log;
    const StopSignal& stop;
  };

  UdpServer(UniqueFd bound, Services services);
  ~UdpServer();
  UdpServer(const UdpServer&) = delete;
  UdpServer& operator=(const UdpServer&) = delete;

 private:
  void Run();
  void ServeDatagram();

  /// Waits `milliseconds` unless a stop comes first; false when stopped.
  [[nodiscard]] bool WaitUnlessStopped(int milliseconds) const;

  UniqueFd socket_;
  Services services_;
  StopSignal destroying_;  // raised by the destructor alone
  std::thread thread_;
};

}  // namespace rmt4::emulator
