#include "ui/platform/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace rmt4::ui {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a descriptor; the event loop reads the other end.
volatile std::sig_atomic_t signalWriteEnd = -1;

extern "C" void OnTerminationSignal(int signal) {
  const char byte = static_cast<char>(signal);
  const int saved = errno;
  (void)::write(signalWriteEnd, &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) {
    std::fprintf(stderr, "rmt4: cannot watch for termination signals: %s\n", std::strerror(errno));
    return;
  }
  signalWriteEnd = ends[0];
  readEnd_ = ends[1];
  auto* notifier = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    while (::read(readEnd_, &byte, 1) == 1) {
    }
    // exit(), not quit(): quit() first closes the windows, and the main window
    // answers a close with its "exit?" question, which nobody is there to answer.
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : kSignals) ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (const int number : kSignals) ::signal(number, SIG_DFL);
  if (signalWriteEnd >= 0) {
    ::close(signalWriteEnd);
    signalWriteEnd = -1;
  }
  if (readEnd_ >= 0) ::close(readEnd_);
}

}  // namespace rmt4::ui
