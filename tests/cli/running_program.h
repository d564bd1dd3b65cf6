#pragma once

// Programs the tests run as a user does, through a shell.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

namespace rmt4::test {

using namespace std::chrono_literals;

/// `word` quoted for the shell.
inline std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

/// A program (rmt4ctl, oscdump) running beside the test, its output read as it comes.
class RunningProgram {
 public:
  /// `commandLine` must exec the program last, so that the shell's process id becomes the program's.
  explicit RunningProgram(const std::string& commandLine) : pipe_(::popen(("echo $$; " + commandLine).c_str(), "r")) {
    if (pipe_ != nullptr && WaitForOutput("\n", 5s)) {
      const std::size_t end = out.find('\n');
      pid_ = static_cast<pid_t>(std::stol(out.substr(0, end)));
      out.erase(0, end + 1);
    }
  }
  ~RunningProgram() {
    if (pipe_ == nullptr) return;
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    ::pclose(pipe_);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  [[nodiscard]] bool started() const { return pid_ > 0; }
  /// Reads until the output holds `text`; false when the output ended or `limit` passed first.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (out.find(text) == std::string::npos) {
      if (!ReadMore(deadline)) return false;
    }
    return true;
  }
  /// Ctrl-C, then the exit code once the program has ended.
  int Interrupt() { return EndWith(SIGINT); }
  /// `signal`, then the exit code once the program has ended.
  int EndWith(int signal) {
    ::kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (ReadMore(deadline)) {
    }
    const int status = ::pclose(pipe_);
    pipe_ = nullptr;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string out;

 private:
  /// Appends what the program printed next; false at its end or at `deadline`.
  bool ReadMore(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd readable{::fileno(pipe_), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t count = ::read(readable.fd, buffer, sizeof buffer);
    if (count <= 0) return false;
    out.append(buffer, static_cast<std::size_t>(count));
    return true;
  }

  FILE* pipe_;
  pid_t pid_ = -1;
};

}  // namespace rmt4::test
