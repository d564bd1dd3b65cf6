#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ipv4_address.h"

namespace rmt4::test {

using namespace std::chrono_literals;

/// A running rmt4-console child on one loopback address, driven through its
/// standard input and output. The destructor asks it to quit and kills it
/// (by its own process id) only when it does not end in time.
class ConsoleProcess {
 public:
  /// Starts the program on `address` with free ports unless `arguments`
  /// name them, and waits for its "ready" line.
  explicit ConsoleProcess(std::string address, std::vector<std::string> arguments = {});
  /// The same with the ports given (0 picks a free one); `extra` are further
  /// options, such as fault injection.
  ConsoleProcess(Ipv4Address address, std::uint16_t tcpPort, std::uint16_t udpPort,
                 const std::vector<std::string>& extra = {});
  ~ConsoleProcess();
  ConsoleProcess(const ConsoleProcess&) = delete;
  ConsoleProcess& operator=(const ConsoleProcess&) = delete;

  [[nodiscard]] bool ready() const { return tcpPort_ != 0 && udpPort_ != 0; }
  [[nodiscard]] Ipv4Address address() const { return ParseIpv4(addressText_).value_or(0); }
  [[nodiscard]] const std::string& addressText() const { return addressText_; }
  [[nodiscard]] std::uint16_t tcpPort() const { return tcpPort_; }
  [[nodiscard]] std::uint16_t udpPort() const { return udpPort_; }
  /// The pseudo-terminal a PC opens as its serial port; empty without --pty.
  [[nodiscard]] const std::string& serialPath() const { return serialPath_; }
  /// Every line before "ready" that was not the serial line.
  [[nodiscard]] const std::vector<std::string>& otherOutput() const { return otherOutput_; }

  /// Sends one command line and returns the line printed in answer.
  [[nodiscard]] std::optional<std::string> Ask(const std::string& line);
  void SendLine(const std::string& line);
  [[nodiscard]] std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = 3s);
  void CloseInput();
  /// Sends a signal to this child (by its pid) and waits for it to end;
  /// the exit status, or nothing if it did not end in time.
  [[nodiscard]] std::optional<int> SignalAndWait(int signal, std::chrono::milliseconds timeout = 3s);
  [[nodiscard]] std::optional<int> WaitExit(std::chrono::milliseconds timeout = 3s);
  /// The child's resident memory, from /proc; 0 if unknown.
  [[nodiscard]] long ResidentKilobytes() const;

 private:
  std::string addressText_;
  std::uint16_t tcpPort_ = 0;
  std::uint16_t udpPort_ = 0;
  std::string serialPath_;
  std::vector<std::string> otherOutput_;
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
  std::optional<int> exitStatus_;
};

/// Runs rmt4-console to completion with the given arguments and no input;
/// its exit status and standard output.
struct FinishedRun {
  int status = -1;
  std::string output;
};
[[nodiscard]] FinishedRun RunToCompletion(const std::vector<std::string>& arguments);

}  // namespace rmt4::test
