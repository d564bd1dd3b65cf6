#include "console_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace rmt4::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

std::uint16_t PortAfter(const std::string& line, const std::string& key) {
  const auto at = line.find(key);
  return at == std::string::npos ? 0 : static_cast<std::uint16_t>(std::atoi(line.c_str() + at + key.size()));
}

// The emulator with the given pipes as standard input and output; stderr is
// inherited so that the program's errors show in the test log. -1 when it
// could not be started.
pid_t Spawn(const std::vector<std::string>& arguments, int inputRead, int outputWrite) {
  std::vector<std::string> copies{RMT4_CONSOLE_PATH};
  copies.insert(copies.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inputRead, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputWrite, STDOUT_FILENO);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

std::vector<std::string> WithPorts(std::uint16_t tcpPort, std::uint16_t udpPort, const std::vector<std::string>& extra) {
  std::vector<std::string> arguments{"--tcp-port", std::to_string(tcpPort), "--udp-port", std::to_string(udpPort)};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return arguments;
}

}  // namespace

ConsoleProcess::ConsoleProcess(std::string address, std::vector<std::string> arguments)
    : addressText_(std::move(address)) {
  const auto names = [&](const std::string& option) {
    for (const std::string& argument : arguments) {
      if (argument == option) return true;
    }
    return false;
  };
  std::vector<std::string> all{"--address", addressText_};
  if (!names("--tcp-port")) all.insert(all.end(), {"--tcp-port", "0"});
  if (!names("--udp-port")) all.insert(all.end(), {"--udp-port", "0"});
  all.insert(all.end(), arguments.begin(), arguments.end());

  std::array<int, 2> toChild{-1, -1};
  std::array<int, 2> fromChild{-1, -1};
  if (pipe2(toChild.data(), O_CLOEXEC) != 0) return;
  if (pipe2(fromChild.data(), O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  pid_ = Spawn(all, toChild[0], fromChild[1]);
  close(toChild[0]);
  close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
  if (pid_ < 0) return;
  signal(SIGPIPE, SIG_IGN);  // writing to a child that has ended must not end the test

  while (const auto line = ReadLine(5s)) {
    if (line->starts_with("serial: ")) {
      serialPath_ = line->substr(8);
    } else if (line->starts_with("ready")) {
      tcpPort_ = PortAfter(*line, "tcp=");
      udpPort_ = PortAfter(*line, "udp=");
      return;
    } else {
      otherOutput_.push_back(*line);
    }
  }
}

ConsoleProcess::ConsoleProcess(Ipv4Address address, std::uint16_t tcpPort, std::uint16_t udpPort,
                               const std::vector<std::string>& extra)
    : ConsoleProcess(FormatIpv4(address), WithPorts(tcpPort, udpPort, extra)) {}

ConsoleProcess::~ConsoleProcess() {
  if (pid_ > 0 && !exitStatus_) {
    SendLine("quit");
    if (!WaitExit(3s) && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
  }
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

std::optional<std::string> ConsoleProcess::Ask(const std::string& line) {
  SendLine(line);
  return ReadLine();
}

void ConsoleProcess::SendLine(const std::string& line) {
  if (input_ < 0) return;
  const std::string text = line + '\n';
  // A child that has ended reads nothing; the answer that does not come tells the test.
  if (write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) CloseInput();
}

std::optional<std::string> ConsoleProcess::ReadLine(milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (true) {
    if (const auto end = buffered_.find('\n'); end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return line;
    }
    pollfd readable{output_, POLLIN, 0};
    if (poll(&readable, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
    std::array<char, 512> chunk{};
    const ssize_t count = read(output_, chunk.data(), chunk.size());
    if (count <= 0) return std::nullopt;
    buffered_.append(chunk.data(), static_cast<std::size_t>(count));
  }
}

void ConsoleProcess::CloseInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

std::optional<int> ConsoleProcess::SignalAndWait(int signal, milliseconds timeout) {
  if (pid_ <= 0 || kill(pid_, signal) != 0) return std::nullopt;
  return WaitExit(timeout);
}

std::optional<int> ConsoleProcess::WaitExit(milliseconds timeout) {
  if (exitStatus_ || pid_ <= 0) return exitStatus_;
  const Clock::time_point deadline = Clock::now() + timeout;
  do {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitStatus_;
    }
    std::this_thread::sleep_for(5ms);
  } while (Clock::now() < deadline);
  return std::nullopt;
}

long ConsoleProcess::ResidentKilobytes() const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  }
  return 0;
}

FinishedRun RunToCompletion(const std::vector<std::string>& arguments) {
  std::array<int, 2> fromChild{-1, -1};
  std::array<int, 2> nothing{-1, -1};
  if (pipe2(fromChild.data(), O_CLOEXEC) != 0) return {};
  if (pipe2(nothing.data(), O_CLOEXEC) != 0) {
    close(fromChild[0]);
    close(fromChild[1]);
    return {};
  }
  const pid_t pid = Spawn(arguments, nothing[0], fromChild[1]);
  close(fromChild[1]);
  close(nothing[0]);
  close(nothing[1]);
  FinishedRun run;
  std::array<char, 512> chunk{};
  for (ssize_t count; (count = read(fromChild[0], chunk.data(), chunk.size())) > 0;) {
    run.output.append(chunk.data(), static_cast<std::size_t>(count));
  }
  close(fromChild[0]);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

}  // namespace rmt4::test
