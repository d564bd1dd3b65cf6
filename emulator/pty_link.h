#pragma once

#include <memory>
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

/// The console's serial link on a pseudo-terminal. The PC opens the device
/// path like a serial port, as often as it likes: the emulator holds the
/// other end open itself, so the link survives a PC closing the port. Ends
/// its thread when the shared stop is raised or, at the latest, when destroyed.
class PtyLink {
 public:
  using Services = StreamLinkServices;

  /// Opens the pseudo-terminal; an error text when that fails.
  [[nodiscard]] static std::unique_ptr<PtyLink> Open(Services services, std::string& error);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  /// The device path the PC opens.
  [[nodiscard]] const std::string& DevicePath() const { return path_; }

 private:
  PtyLink(UniqueFd master, UniqueFd slave, std::string path, Services services);
  void Run();

  UniqueFd master_;
  UniqueFd slave_;  // kept open so the master never sees a hang-up between PCs
  std::string path_;
  Services services_;
  StreamWriter writer_;
  ConsoleSession session_;
  StopSignal destroying_;  // raised by the destructor alone
  std::thread thread_;
};

}  // namespace rmt4::emulator
