#include "cli/ctl_serve.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "automation/osc_server.h"
#include "history/edit_history.h"
#include "platform/unique_fd.h"
#include "values/typed_text.h"

namespace rmt4::ctl {
namespace {

using Words = std::vector<std::string>;

struct ServeOptions {
  OscServerOptions osc;
  std::string error;
};

ServeOptions ServeOptionsOf(const Words& command) {
  ServeOptions parsed;
  bool port = false;
  for (std::size_t i = 1; i < command.size(); i += 2) {
    const std::string& option = command[i];
    if (i + 1 >= command.size()) {
      parsed.error = "serve: " + option + " needs a value";
      return parsed;
    }
    const std::string& value = command[i + 1];
    if (option == "--osc") {
      const auto number = ParseWholeNumber(value, 65535);
      if (!number) {
        parsed.error = "serve: --osc needs a UDP port 0..65535 (0: any free one), not '" + value + "'";
        return parsed;
      }
      parsed.osc.port = static_cast<std::uint16_t>(*number);
      port = true;
    } else if (option == "--osc-bind") {
      parsed.osc.bindAddress = value;
    } else if (option == "--osc-allow") {
      parsed.osc.allow.push_back(value);
    } else {
      parsed.error = "serve: unknown option '" + option + "'";
      return parsed;
    }
  }
  if (!port) {
    parsed.error = "serve needs --osc PORT";
  } else if (const auto problem = CheckOscServerOptions(parsed.osc)) {
    parsed.error = "serve: " + *problem;
  }
  return parsed;
}

/// The OSC server's host: edits wake the command's loop through an eventfd.
class ServeHost : public OscHost {
 public:
  ServeHost(CtlSession& session, int editsWaiting) : session_(session), editsWaiting_(editsWaiting) {}

  void EditsWaiting() override {
    const std::uint64_t one = 1;
    (void)::write(editsWaiting_, &one, sizeof one);
  }

  OscLinkStatus Status() override {
    return OscStatusOf(session_.owner.Status(), session_.transport,
                       session_.worker.context().state.device.deviceType.load());
  }

 private:
  CtlSession& session_;
  const int editsWaiting_;
};

void Drain(int eventFd) {
  std::uint64_t count = 0;
  (void)::read(eventFd, &count, sizeof count);
}

}  // namespace

bool IsServeCommand(const Words& command) { return !command.empty() && command[0] == "serve"; }

std::string ValidateServe(const Words& command) { return ServeOptionsOf(command).error; }

int Serve(CtlSession& session, const Words& command) {
  const ServeOptions options = ServeOptionsOf(command);
  ParamTable& params = session.worker.params();
  const UniqueFd editsWaiting(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  const UniqueFd interrupted(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!editsWaiting.Valid() || !interrupted.Valid()) {
    std::cerr << "rmt4ctl: cannot serve: no event descriptors left" << std::endl;
    return kExitFailed;
  }
  ServeHost host(session, editsWaiting.Get());
  OscServer server(params, host, options.osc);
  if (const auto problem = server.Start()) {
    std::cerr << "rmt4ctl: " << *problem << std::endl;
    return kExitFailed;
  }
  std::printf("serving OSC on %s:%u\n", options.osc.bindAddress.c_str(), unsigned{server.port()});
  std::fflush(stdout);

  ChangeLog log(CtlChangeLogOptions(params));
  EditHistory history(params, &log);
  WakeOnInterrupt(interrupted.Get());
  while (!Interrupted()) {
    std::array<pollfd, 2> fds{pollfd{editsWaiting.Get(), POLLIN, 0}, pollfd{interrupted.Get(), POLLIN, 0}};
    if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    Drain(editsWaiting.Get());
    const std::vector<RequestedEdit> edits = server.TakeEdits();
    if (edits.empty()) continue;
    // One step per batch, as one gesture in the window is.
    history.BeginStep();
    StoreRequestedEdits(params, edits);
    history.EndStep();
  }
  WakeOnInterrupt(-1);
  server.Stop();
  const OscCounters seen = server.counters();
  std::printf("served %llu packets: %llu dropped (malformed, oversized or from a sender not allowed), %llu refused\n",
              static_cast<unsigned long long>(seen.packets), static_cast<unsigned long long>(seen.dropped),
              static_cast<unsigned long long>(seen.refused));
  return kExitOk;
}

}  // namespace rmt4::ctl
