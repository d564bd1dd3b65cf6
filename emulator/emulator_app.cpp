#include "emulator/emulator_app.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "emulator/console_command.h"
#include "emulator/console_responder.h"
#include "emulator/link_hub.h"
#include "emulator/logger.h"
#include "emulator/serial_cable.h"
#include "emulator/socket_util.h"
#include "emulator/stop_signal.h"
#include "emulator/tcp_server.h"
#include "emulator/udp_server.h"

namespace rmt4::emulator {
namespace {

// A command line longer than this is garbage; it is skipped up to its end.
constexpr std::size_t kMaxCommandLine = 256;
// One PC is served; a few more may queue to be turned away.
constexpr int kListenBacklog = 4;

void PrintLine(const std::string& line) {
  std::fputs((line + '\n').c_str(), stdout);
  std::fflush(stdout);
}

/// SIGTERM and SIGINT arrive as a readable descriptor on the main thread;
/// every other thread inherits the blocked mask and never sees them.
UniqueFd BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  // Unblocked, the signals would end the process without its orderly stop: fail visibly instead.
  if (const int error = pthread_sigmask(SIG_BLOCK, &signals, nullptr); error != 0) {
    errno = error;
    return UniqueFd();
  }
  if (::signal(SIGPIPE, SIG_IGN) == SIG_ERR) return UniqueFd();  // a PC that vanished must not kill the console
  return UniqueFd(::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK));
}

/// The running emulator: links, console and the standard-input commands.
class Emulator {
 public:
  Emulator(const Options& options, Logger& log) : options_(options), log_(log), faults_(options.faults, options.seed) {
    if (options.startSilent) silence_.Forever();
  }
  ~Emulator() { Stop(); }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  /// Binds and starts every link; an error text when one cannot start.
  std::string Start();
  /// Serves standard input until quit or a stop signal.
  void Serve(int signalFd);

 private:
  /// Stops every thread; the links end before the console and the hub they use.
  void Stop();

  /// False for quit.
  bool Execute(const ConsoleCommand& command);
  /// Reads what standard input has and runs every complete line.
  void ReadCommands();
  void RunLine();
  /// Pulls every cable: "ok" (with a serial link: "ok" and the links pulled) or "none".
  [[nodiscard]] std::string Unplug();

  const Options& options_;
  Logger& log_;
  FaultPlan faults_;
  Silence silence_;
  StopSignal stop_;
  LinkHub hub_;
  std::unique_ptr<ConsoleResponder> console_;
  std::unique_ptr<TcpServer> tcp_;
  std::unique_ptr<UdpServer> udp_;
  std::unique_ptr<SerialCable> serial_;

  bool inputOpen_ = true;
  bool quit_ = false;
  std::string pendingLine_;
  bool lineTooLong_ = false;
};

std::string Emulator::Start() {
  BoundSocket tcp = BindSocket(SOCK_STREAM, options_.address, options_.tcpPort, "TCP");
  if (!tcp.error.empty()) return tcp.error;
  if (::listen(tcp.fd.Get(), kListenBacklog) != 0) return ErrnoText("cannot listen on TCP");
  BoundSocket udp = BindSocket(SOCK_DGRAM, options_.address, options_.udpPort, "UDP");
  if (!udp.error.empty()) return udp.error;
  const std::uint16_t tcpPort = BoundPort(tcp.fd.Get());
  const std::uint16_t udpPort = BoundPort(udp.fd.Get());

  console_ = std::make_unique<ConsoleResponder>(ConsoleSettings{
      options_.deviceType, options_.modeLockMask, options_.seed, ModuleIdentity{options_.address, tcpPort, udpPort}});
  if (options_.unansweredAddress) console_->LeaveOutOfReads(*options_.unansweredAddress);
  const StreamShaping shaping{faults_, silence_, options_.paceBytesPerSecond};
  tcp_ = std::make_unique<TcpServer>(std::move(tcp.fd), TcpServer::Services{*console_, hub_, shaping, log_, stop_});
  udp_ = std::make_unique<UdpServer>(std::move(udp.fd), UdpServer::Services{*console_, faults_, silence_, log_, stop_});
  if (options_.pty) {
    serial_ = std::make_unique<SerialCable>(PtyLink::Services{*console_, hub_, shaping, log_, stop_},
                                            options_.ptyLinkPath);
    if (std::string error = serial_->Plug(); !error.empty()) return error;
    PrintLine("serial: " + serial_->DevicePath());
  }
  PrintLine("ready tcp=" + std::to_string(tcpPort) + " udp=" + std::to_string(udpPort));
  return {};
}

void Emulator::Serve(int signalFd) {
  while (!quit_) {
    std::array<pollfd, 2> watched{{{signalFd, POLLIN, 0}, {inputOpen_ ? STDIN_FILENO : -1, POLLIN, 0}}};
    const int replugIn = serial_ ? serial_->MillisecondsToReplug() : -1;
    if (::poll(watched.data(), watched.size(), replugIn) < 0) {
      if (errno == EINTR) continue;
      log_.Error(ErrnoText("poll failed"));
      return;
    }
    if (serial_) serial_->ReplugWhenDue();
    if (watched[0].revents != 0) {
      log_.Info("stop signal received");
      return;
    }
    if (watched[1].revents != 0) ReadCommands();
  }
}

void Emulator::ReadCommands() {
  std::array<char, 512> chunk{};
  const ssize_t count = ::read(STDIN_FILENO, chunk.data(), chunk.size());
  if (count <= 0) {
    // End of input (or a broken input) leaves the console running in the background.
    if (count == 0 || (errno != EAGAIN && errno != EINTR)) inputOpen_ = false;
    return;
  }
  for (const char c : std::string_view(chunk.data(), static_cast<std::size_t>(count))) {
    if (quit_) return;
    if (c == '\n') {
      RunLine();
    } else if (pendingLine_.size() < kMaxCommandLine) {
      pendingLine_ += c;
    } else {
      lineTooLong_ = true;
    }
  }
}

void Emulator::RunLine() {
  if (lineTooLong_) {
    PrintLine("error: line longer than " + std::to_string(kMaxCommandLine) + " characters");
  } else {
    const ParsedConsoleCommand parsed = ParseConsoleCommand(pendingLine_);
    if (const auto* error = std::get_if<std::string>(&parsed)) PrintLine(*error);
    if (const auto* command = std::get_if<ConsoleCommand>(&parsed)) quit_ = !Execute(*command);
  }
  pendingLine_.clear();
  lineTooLong_ = false;
}

bool Emulator::Execute(const ConsoleCommand& command) {
  using Kind = ConsoleCommand::Kind;
  switch (command.kind) {
    case Kind::Set: {
      const LinkFrame frame = console_->ChangeFromConsole(command.address, command.value);
      hub_.Broadcast(frame.Bytes());
      PrintLine("ok");
      return true;
    }
    case Kind::Get:
      PrintLine(std::to_string(command.address) + ' ' + std::to_string(console_->Value(command.address)));
      return true;
    case Kind::Peer: {
      const auto peer = tcp_->Peer();
      PrintLine("peer " + (peer ? FormatIpv4(*peer) : std::string("none")));
      return true;
    }
    case Kind::Unplug:
      PrintLine(Unplug());
      return true;
    case Kind::Silence:
      if (command.duration) {
        silence_.For(*command.duration);
      } else {
        silence_.Forever();
      }
      PrintLine("ok");
      return true;
    case Kind::Talk:
      silence_.End();
      PrintLine("ok");
      return true;
    case Kind::Quit:
      return false;
  }
  return true;
}

std::string Emulator::Unplug() {
  const bool tcp = tcp_->Unplug();
  if (!serial_) return tcp ? "ok" : "none";
  const bool serial = serial_->Pull();
  if (!tcp && !serial) return "none";
  return std::string("ok") + (tcp ? " tcp" : "") + (serial ? " serial" : "");
}

void Emulator::Stop() {
  stop_.Raise();
  serial_.reset();
  udp_.reset();
  tcp_.reset();
}

}  // namespace

int RunEmulator(const Options& options) {
  const UniqueFd signals = BlockStopSignals();
  Logger log(options.verbose);
  if (!signals.Valid()) {
    log.Error(ErrnoText("cannot watch for stop signals"));
    return 1;
  }
  Emulator emulator(options, log);
  if (const std::string error = emulator.Start(); !error.empty()) {
    log.Error(error);
    return 1;
  }
  emulator.Serve(signals.Get());
  return 0;
}

}  // namespace rmt4::emulator
