#pragma once

#include <atomic>
#include <string>

#include "protocol/connection_kind.h"
#include "protocol/frame_parser.h"
#include "protocol/link_owner.h"
#include "protocol/link_state.h"
#include "protocol/module_commands.h"
#include "protocol/run_flag.h"
#include "protocol/wire_trace.h"

namespace rmt4 {

/// What the link worker shares with its transport and the transport's
/// threads: the mirrored state, the parser every reader feeds, the module
/// commands, the run flags, the wire trace and the owner. Lives as long as the link layer.
struct LinkContext {
  /// Tests hand in a simulated clock; the program lives by the machine's.
  explicit LinkContext(LinkOwner& linkOwner, Clock& clock = SteadyClock())
      : state(clock), owner(linkOwner), appRunning(clock) {
    parser.SetModuleTextHandler([this](std::string_view text) { ReceiveModuleText(text); });
    parser.SetTrace(trace);
  }
  LinkContext(const LinkContext&) = delete;
  LinkContext& operator=(const LinkContext&) = delete;

  /// Starts the wire trace (nothing when `path` is empty); a file that cannot be written is reported to the owner.
  void StartTrace(const std::string& path) {
    trace.Start(path, [this](std::string_view problem) { owner.ShowMessage(MessageStyle::Ok, problem, {}); });
  }
  /// Every link status goes through here, so the trace holds what the owner was shown.
  void SendStatus(LinkStatus status) {
    trace.Event("status", StatusName(status));
    shownStatus.store(status);
    // The next search is told afresh, even when it tries the same again.
    if (status == LinkStatus::Connected) searchTarget.clear();
    owner.SendStatus(status);
  }
  /// What a transport tries while searching; told to the owner when it changes.
  void SearchingFor(const std::string& target) {
    if (target == searchTarget) return;
    searchTarget = target;
    trace.Event("trying", target);
    owner.ShowSearchTarget(target);
  }
  /// A text answer of the network module, from a ModuleText frame or a datagram.
  void ReceiveModuleText(std::string_view text) {
    trace.Event("module text", text);
    modules.ParseModuleText(text);
  }

  WireTrace trace;
  LinkState state;
  ModuleCommandTable modules;
  FrameParser parser{state};
  LinkOwner& owner;

  /// 1 from program start until the user confirms closing; every link loop
  /// ends when it clears, and every pause of the link threads is taken on it.
  RunFlag appRunning;
  /// 1 while the console is considered present.
  std::atomic<bool> linkUp{false};
  /// The status the owner was given last.
  std::atomic<LinkStatus> shownStatus{LinkStatus::Starting};
  /// The last search target told to the owner; link worker thread only.
  std::string searchTarget;
  /// Both read once when the worker starts, before any transport exists.
  ConnectionKind connectionKind = kUsbHid;
  int serialBaudRate = 128000;
};

}  // namespace rmt4
