#include "transport/network_transport.h"

#include "transport/address_zero_probe.h"

#include <array>
#include <string>

#include "protocol/frame_sender.h"
#include "protocol/link_context.h"

namespace rmt4 {
namespace {

using std::chrono::milliseconds;

/// ReadParams for address 0, sent as it stands by the re-probe.
constexpr std::array<std::uint8_t, 7> kProbeFrame{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5};
constexpr int kReprobeConnects = 3;
constexpr int kReprobeFrames = 5;
/// How long the transport gives the search thread to end when closing; it
/// normally ends within a few tens of milliseconds.
constexpr milliseconds kDiscoveryStopLimit{300};

}  // namespace

NetworkTransport::NetworkTransport(LinkContext& context, FrameSender& sender)
    : NetworkTransport(context, sender, NetworkEndpoints::FromEnvironment()) {}

NetworkTransport::NetworkTransport(LinkContext& context, FrameSender& sender, NetworkEndpoints endpoints,
                                   NetworkTiming timing)
    : context_(context),
      sender_(sender),
      endpoints_(std::move(endpoints)),
      timing_(timing),
      discovery_(context, endpoints_, timing.localAddressSearch),
      tcp_(context.parser, context.appRunning) {}

NetworkTransport::~NetworkTransport() {
  discovery_.Stop();
  tcp_.Close();
}

bool NetworkTransport::IsConnected() const { return context_.linkUp.load(); }

void NetworkTransport::NetworkConnect() {
  if (!context_.appRunning.load()) return;
  ReportSettingProblems();
  if (endpoints_.onlyConsole && endpoints_.connectDirectly) {
    ConnectDirectly(*endpoints_.onlyConsole);
    return;
  }
  DiscoveredAddresses& addresses = discovery_.addresses();

  // A fresh search: the old thread has ended before the new one starts, so exactly one runs.
  discovery_.Stop();
  addresses.serverAddress.store(0);
  addresses.linkedHostAddress.store(DiscoveredAddresses::kLinkedHostUnknown);
  tcp_.Close();
  (void)context_.appRunning.SleepFor(milliseconds(50));
  discovery_.Start();
  context_.SearchingFor("UDP " + FormatIpv4(endpoints_.onlyConsole.value_or(endpoints_.broadcastAddress)) + ":" +
                        std::to_string(endpoints_.udpPort));
  (void)context_.appRunning.SleepFor(milliseconds(50));
  if (!WaitForFreeModule()) return;

  while (true) {
    ShowSearching();
    (void)context_.appRunning.SleepFor(milliseconds(50));
    LetUserChooseConsole();
    context_.linkUp.store(false);
    while (!context_.linkUp.load() && context_.appRunning.load()) {
      if (!TcpConnect().ok()) {
        (void)context_.appRunning.SleepFor(milliseconds(100));
        continue;
      }
      if (!ProbeAddressZero()) break;
      if (context_.trace.On()) context_.trace.Event("tcp connected", FormatIpv4(serverAddress()));
      context_.linkUp.store(true);
    }
    if (context_.linkUp.load() || !context_.appRunning.load()) return;
    // The module took the connection but did not answer: forget it and search again.
    context_.trace.Event("tcp probe unanswered");
    ReportIfBusy();
    ShowSearching();
    addresses.serverAddress.store(0);
  }
}

void NetworkTransport::ConnectDirectly(Ipv4Address console) {
  // The search restarts beside the connection, for the module commands only.
  discovery_.Start();
  ShowSearching();
  context_.linkUp.store(false);
  while (context_.appRunning.load()) {
    // The search may have learnt another address for the module: the named one is meant.
    discovery_.addresses().serverAddress.store(console);
    if (TcpConnect().ok() && ProbeAddressZero()) {
      if (context_.trace.On()) context_.trace.Event("tcp connected", FormatIpv4(console));
      context_.linkUp.store(true);
      return;
    }
    context_.trace.Event("tcp connect or probe failed", "trying again");
    ReportIfBusy();
    (void)context_.appRunning.SleepFor(milliseconds(100));
  }
}

bool NetworkTransport::NetworkReprobe() {
  context_.trace.Event("re-probe", "the console has been silent: reconnecting");
  bool connected = false;
  for (int attempt = 0; attempt < kReprobeConnects && !connected && context_.appRunning.load(); ++attempt) {
    connected = TcpConnect().ok();
  }
  if (!connected) {
    context_.trace.Event("re-probe", "no connection");
    return false;
  }
  ReplySignal& reply = context_.state.reply;
  // The re-probe runs inside the sender's exchange: the reply to the frame
  // that triggered it must still wake that sender.
  const bool senderAwaiting = reply.awaitingReply.load();
  bool answered = false;
  for (int attempt = 0; attempt < kReprobeFrames && !answered && context_.appRunning.load(); ++attempt) {
    (void)reply.semaphore.TryAcquireFor(milliseconds(0));  // a stale release must not count as an answer
    reply.awaitingReply.store(true);
    context_.trace.Frame(TraceDirection::Out, kProbeFrame);
    tcp_.Send(kProbeFrame);
    answered = reply.semaphore.TryAcquireFor(timing_.reprobeWait);
  }
  reply.awaitingReply.store(senderAwaiting);
  context_.trace.Event("re-probe", answered ? "reconnected, the console answered" : "reconnected, no answer");
  return true;
}

void NetworkTransport::NetworkClose() {
  context_.trace.Event("tcp closed");
  tcp_.Close();
  discovery_.StopFor(kDiscoveryStopLimit);
}

OsResult NetworkTransport::TcpConnect() {
  if (!context_.linkUp.load()) {
    context_.SearchingFor("TCP " + FormatIpv4(serverAddress()) + ":" + std::to_string(endpoints_.tcpPort));
  }
  const OsResult result = tcp_.Connect(serverAddress(), endpoints_.tcpPort, endpoints_.localAddress, timing_.connectTimeout);
  // Every reconnect would meet it again: one report is enough.
  if (const auto problem = tcp_.TakeProblem(); problem && !tcpProblemReported_.exchange(true)) {
    context_.owner.ShowMessage(MessageStyle::Ok, *problem, "");
  }
  return result;
}

void NetworkTransport::ReportSettingProblems() {
  if (problemsReported_ || endpoints_.problems.empty()) return;
  problemsReported_ = true;
  std::string text;
  for (const std::string& problem : endpoints_.problems) text += problem + "\n";
  context_.owner.ShowMessage(MessageStyle::Ok, text, "");
}

bool NetworkTransport::WaitForFreeModule() {
  const DiscoveredAddresses& addresses = discovery_.addresses();
  while (context_.appRunning.load()) {
    const Ipv4Address server = addresses.serverAddress.load();
    const Ipv4Address linked = addresses.linkedHostAddress.load();
    if (server != 0 && (linked == 0 || linked == addresses.localAddress.load())) return true;
    if (server != 0) ReportIfBusy();
    (void)context_.appRunning.SleepFor(milliseconds(20));
  }
  return false;
}

void NetworkTransport::ReportIfBusy() {
  const Ipv4Address linked = discovery_.addresses().linkedHostAddress.load();
  if (linked == 0 || linked == DiscoveredAddresses::kLinkedHostUnknown || linked == reportedBusyWith_) return;
  reportedBusyWith_ = linked;
  context_.trace.Event("console busy", "linked to " + FormatIpv4(linked));
  context_.owner.PostNotify(UiNotify::ConsoleBusy, static_cast<int>(linked));
}

void NetworkTransport::LetUserChooseConsole() {
  const std::vector<Ipv4Address> consoles = context_.modules.DiscoveredConsoles();
  if (consoles.size() <= 1) return;
  if (const auto choice = context_.owner.ChooseConsole(consoles)) {
    discovery_.addresses().serverAddress.store(*choice);
  }
  context_.modules.ClearDiscoveredConsoles();
  (void)context_.appRunning.SleepFor(milliseconds(100));
}

bool NetworkTransport::ProbeAddressZero() {
  return rmt4::ProbeAddressZero(context_, sender_, {.wait = timing_.probeWait}, [] { return true; });
}

void NetworkTransport::ShowSearching() {
  if (context_.appRunning.load()) context_.SendStatus(LinkStatus::Searching);
}

}  // namespace rmt4
