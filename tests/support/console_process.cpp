#include "console_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <thread>

namespace rmt4::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::uint16_t PortAfter(const std::string& line, const std::string& key) {
  const auto at = line.find(key);
  return at == std::string::npos ? 0 : static_cast<std::uint16_t>(std::atoi(line.c_str() + at + key.size()));
}

bool Exited(pid_t pid, milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return false;
}

}  // namespace

ConsoleProcess::ConsoleProcess(Ipv4Address address, std::uint16_t tcpPort, std::uint16_t udpPort,
                               const std::vector<std::string>& extra)
    : address_(address) {
  std::array<int, 2> toChild{};
  std::array<int, 2> fromChild{};
  if (pipe2(toChild.data(), O_CLOEXEC) != 0) return;
  if (pipe2(fromChild.data(), O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  std::vector<std::string> arguments{RMT4_CONSOLE_PATH, "--address",      FormatIpv4(address),
                                     "--tcp-port",      std::to_string(tcpPort), "--udp-port",
                                     std::to_string(udpPort)};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
  if (pid_ < 0) return;
  while (const auto line = ReadLine(milliseconds(5000))) {
    if (line->starts_with("serial: ")) serialPath_ = line->substr(8);
    if (line->starts_with("ready")) {
      tcpPort_ = PortAfter(*line, "tcp=");
      udpPort_ = PortAfter(*line, "udp=");
      break;
    }
  }
}

ConsoleProcess::~ConsoleProcess() {
  if (pid_ > 0) {
    const std::string quit = "quit\n";
    [[maybe_unused]] const ssize_t written = write(input_, quit.data(), quit.size());
    if (!Exited(pid_, milliseconds(2000))) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

std::optional<std::string> ConsoleProcess::Ask(const std::string& command) {
  const std::string line = command + "\n";
  if (write(input_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return std::nullopt;
  return ReadLine(milliseconds(3000));
}

std::optional<std::string> ConsoleProcess::ReadLine(milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (true) {
    if (const auto newline = buffered_.find('\n'); newline != std::string::npos) {
      std::string line = buffered_.substr(0, newline);
      buffered_.erase(0, newline + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    pollfd waiting{output_, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(left)) <= 0) continue;
    std::array<char, 512> chunk{};
    const ssize_t count = read(output_, chunk.data(), chunk.size());
    if (count <= 0) return std::nullopt;
    buffered_.append(chunk.data(), static_cast<std::size_t>(count));
  }
}

}  // namespace rmt4::test
