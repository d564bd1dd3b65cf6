#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ipv4_address.h"

namespace rmt4::test {

/// A running rmt4-console on one loopback address, driven through its
/// standard input. The destructor asks it to quit and kills it (by its own
/// process id) only when it does not end in time.
class ConsoleProcess {
 public:
  /// Starts the emulator and waits for its "ready" line. Ports 0 pick free ones.
  /// `extra` are further options, such as fault injection.
  ConsoleProcess(Ipv4Address address, std::uint16_t tcpPort, std::uint16_t udpPort,
                 const std::vector<std::string>& extra = {});
  ~ConsoleProcess();
  ConsoleProcess(const ConsoleProcess&) = delete;
  ConsoleProcess& operator=(const ConsoleProcess&) = delete;

  [[nodiscard]] bool ready() const { return tcpPort_ != 0 && udpPort_ != 0; }
  [[nodiscard]] Ipv4Address address() const { return address_; }
  [[nodiscard]] std::uint16_t tcpPort() const { return tcpPort_; }
  [[nodiscard]] std::uint16_t udpPort() const { return udpPort_; }
  /// The pseudo-terminal a PC opens as its serial port; empty without --pty.
  [[nodiscard]] const std::string& serialPath() const { return serialPath_; }

  /// Sends one command line and returns the line printed in answer.
  [[nodiscard]] std::optional<std::string> Ask(const std::string& command);

 private:
  [[nodiscard]] std::optional<std::string> ReadLine(std::chrono::milliseconds limit);

  Ipv4Address address_;
  std::uint16_t tcpPort_ = 0;
  std::uint16_t udpPort_ = 0;
  std::string serialPath_;
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

}  // namespace rmt4::test
