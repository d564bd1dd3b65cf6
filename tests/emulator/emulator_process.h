#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace rmt4::emulator::test {

using namespace std::chrono_literals;

/// A running rmt4-console child: its standard input and output as pipes.
/// The destructor stops it (quit, then SIGKILL if it hangs) and reaps it.
class EmulatorProcess {
 public:
  /// Starts the program on `address` with free ports unless `arguments`
  /// name them, and waits for its ready line.
  EmulatorProcess(const std::string& address, std::vector<std::string> arguments = {});
  ~EmulatorProcess();
  EmulatorProcess(const EmulatorProcess&) = delete;
  EmulatorProcess& operator=(const EmulatorProcess&) = delete;

  [[nodiscard]] bool IsReady() const { return tcpPort > 0; }

  /// Sends one command line and returns the line it prints in answer.
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

  std::string address;
  int tcpPort = 0;
  int udpPort = 0;
  std::string serialPath;
  /// Every line before "ready" that was not the serial line.
  std::vector<std::string> otherOutput;

 private:
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

}  // namespace rmt4::emulator::test
