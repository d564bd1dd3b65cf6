#include "emulator_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace rmt4::emulator::test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

int IntAfter(const std::string& line, const std::string& key) {
  const auto at = line.find(key);
  return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + key.size());
}

// fork + exec with the given pipes as standard input and output; stderr is
// inherited so that the program's errors show in the test log.
pid_t Spawn(const std::vector<std::string>& arguments, int inputRead, int outputWrite) {
  std::vector<char*> argv;
  std::string program = RMT4_CONSOLE_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(inputRead, STDIN_FILENO);
    ::dup2(outputWrite, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

}  // namespace

EmulatorProcess::EmulatorProcess(const std::string& emulatorAddress, std::vector<std::string> arguments)
    : address(emulatorAddress) {
  const auto names = [&](const std::string& option) {
    for (const std::string& argument : arguments) {
      if (argument == option) return true;
    }
    return false;
  };
  std::vector<std::string> all{"--address", address};
  if (!names("--tcp-port")) all.insert(all.end(), {"--tcp-port", "0"});
  if (!names("--udp-port")) all.insert(all.end(), {"--udp-port", "0"});
  all.insert(all.end(), arguments.begin(), arguments.end());

  int toChild[2];
  int fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) return;
  pid_ = Spawn(all, toChild[0], fromChild[1]);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
  ::signal(SIGPIPE, SIG_IGN);  // writing to a child that has ended must not end the test

  while (const auto line = ReadLine(5s)) {
    if (line->starts_with("serial: ")) {
      serialPath = line->substr(8);
    } else if (line->starts_with("ready")) {
      tcpPort = IntAfter(*line, "tcp=");
      udpPort = IntAfter(*line, "udp=");
      return;
    } else {
      otherOutput.push_back(*line);
    }
  }
}

EmulatorProcess::~EmulatorProcess() {
  if (pid_ > 0 && !exitStatus_) {
    SendLine("quit");
    if (!WaitExit(3s)) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  if (input_ >= 0) ::close(input_);
  if (output_ >= 0) ::close(output_);
}

std::optional<std::string> EmulatorProcess::Ask(const std::string& line) {
  SendLine(line);
  return ReadLine();
}

void EmulatorProcess::SendLine(const std::string& line) {
  if (input_ < 0) return;
  const std::string text = line + '\n';
  [[maybe_unused]] const ssize_t written = ::write(input_, text.data(), text.size());
}

std::optional<std::string> EmulatorProcess::ReadLine(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (true) {
    if (const auto end = buffered_.find('\n'); end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return line;
    }
    pollfd readable{output_, POLLIN, 0};
    if (::poll(&readable, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
    char chunk[512];
    const ssize_t count = ::read(output_, chunk, sizeof chunk);
    if (count <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<std::size_t>(count));
  }
}

void EmulatorProcess::CloseInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

std::optional<int> EmulatorProcess::SignalAndWait(int signal, std::chrono::milliseconds timeout) {
  ::kill(pid_, signal);
  return WaitExit(timeout);
}

std::optional<int> EmulatorProcess::WaitExit(std::chrono::milliseconds timeout) {
  if (exitStatus_) return exitStatus_;
  const Clock::time_point deadline = Clock::now() + timeout;
  do {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitStatus_;
    }
    ::usleep(5000);
  } while (Clock::now() < deadline);
  return std::nullopt;
}

long EmulatorProcess::ResidentKilobytes() const {
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  }
  return 0;
}

FinishedRun RunToCompletion(const std::vector<std::string>& arguments) {
  int fromChild[2];
  int nothing[2];
  if (::pipe2(fromChild, O_CLOEXEC) != 0 || ::pipe2(nothing, O_CLOEXEC) != 0) return {};
  const pid_t pid = Spawn(arguments, nothing[0], fromChild[1]);
  ::close(fromChild[1]);
  ::close(nothing[0]);
  ::close(nothing[1]);
  FinishedRun run;
  char chunk[512];
  for (ssize_t count; (count = ::read(fromChild[0], chunk, sizeof chunk)) > 0;) {
    run.output.append(chunk, static_cast<std::size_t>(count));
  }
  ::close(fromChild[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace rmt4::emulator::test
