#include "transport/network_discovery.h"

#include <pthread.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <thread>

#include "protocol/link_context.h"
#include "transport/local_address.h"

namespace rmt4 {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kGetIp = "Get_IP:";
/// Sent with its terminating zero, as the module expects for slot texts.
constexpr std::string_view kGetLinkIp{"Get_LinkIP:", sizeof "Get_LinkIP:"};
constexpr int kFirstSweepHost = 2;
constexpr int kLastSweepHost = 254;
constexpr milliseconds kBindRetry{1000};

std::string BindFailureText(OsResult error, std::uint16_t port) {
  std::string text = "The console search cannot use UDP port " + std::to_string(port) + ": " + error.Text() + ". ";
  if (error.error() == EACCES) {
    text +=
        "Ports below 1024 need privileges on Linux: allow them with "
        "sudo setcap 'cap_net_bind_service=+ep' on this program, or set RMT4_UDP_PORT to a port from 1024 up "
        "(the console's network module must use the same port). ";
  } else if (error.error() == EADDRINUSE) {
    text += "Another program holds this port: close it, or set RMT4_UDP_PORT to another port. ";
  }
  return text + "The search keeps trying.";
}

std::string SendFailureText(OsResult error, Ipv4Address address, std::uint16_t port) {
  return "The console search cannot send to " + FormatIpv4(address) + " port " + std::to_string(port) + ": " +
         error.Text() + ". Check the network connection. The search keeps trying.";
}

}  // namespace

NetworkDiscovery::NetworkDiscovery(LinkContext& context, const NetworkEndpoints& endpoints,
                                   milliseconds localAddressLimit)
    : context_(context), endpoints_(endpoints), localAddressLimit_(localAddressLimit), running_(context.state.clock) {}

void NetworkDiscovery::Start() {
  std::lock_guard lock(controlMutex_);
  // The earlier thread ends before the flag is raised again, or it would go on beside the new one.
  StopRunning();
  thread_.Join();
  if (!context_.appRunning.load()) return;
  socket_.Rearm();
  running_.store(true);
  if (!thread_.Start([this] { Run(); })) {
    running_.store(false);
    context_.owner.ShowMessage(MessageStyle::Ok, "The console search could not start: no thread could be created.", {});
  }
}

void NetworkDiscovery::StopRunning() {
  running_.store(false);
  socket_.Interrupt();
}

void NetworkDiscovery::Stop() {
  std::lock_guard lock(controlMutex_);
  StopRunning();
  thread_.Join();
}

void NetworkDiscovery::StopFor(milliseconds limit) {
  StopRunning();
  const auto deadline = std::chrono::steady_clock::now() + limit;
  // Closing never waits long, even behind a Start that is joining a busy thread.
  std::unique_lock lock(controlMutex_, std::defer_lock);
  while (!lock.try_lock()) {
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(milliseconds(10));
  }
  thread_.JoinFor(std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now()));
}

bool NetworkDiscovery::KeepRunning() const { return running_.load() && context_.appRunning.load(); }

void NetworkDiscovery::Run() {
  (void)pthread_setname_np(pthread_self(), "console-search");  // for top and the CPU benchmark
  addresses_.localAddress.store(endpoints_.localAddress ? *endpoints_.localAddress
                                                        : FindLocalAddress(running_, localAddressLimit_));
  if (!OpenSocket()) return;
  commandCursor_ = 0;
  Search();
  while (KeepRunning()) {
    if (addresses_.serverAddress.load() == 0) {
      (void)running_.SleepFor(milliseconds(10));
      Search();
      continue;
    }
    SendPendingModuleCommand();
    AskLinkedHost();
    // Only the chosen console's module answers our commands: a text from any
    // other host must not pass for its verdict on the settings.
    // A pause after a datagram keeps a flood of them from spinning the thread;
    // after a quiet wait it would only wake the thread once more.
    if (Receive(milliseconds(200), addresses_.serverAddress.load())) (void)running_.SleepFor(milliseconds(1));
    context_.modules.ShowModuleConfirmations(context_.owner);
  }
  socket_.Close();
}

bool NetworkDiscovery::OpenSocket() {
  // An injected local address is where this PC lives on the console's network: listen there only.
  while (KeepRunning()) {
    const OsResult opened = socket_.Open(endpoints_.localAddress, endpoints_.udpPort);
    if (opened.ok()) return true;
    ReportBindFailure(opened);
    (void)running_.SleepFor(kBindRetry);
  }
  return false;
}

void NetworkDiscovery::ReportBindFailure(OsResult error) {
  if (bindFailureReported_) return;
  bindFailureReported_ = true;
  context_.owner.ShowMessage(MessageStyle::Ok, BindFailureText(error, endpoints_.udpPort), "");
}

void NetworkDiscovery::SendTo(Ipv4Address address, std::string_view text) {
  const OsResult sent = socket_.SendTo(address, endpoints_.udpPort, text);
  // A full send queue loses one datagram like the network may; the search sends again.
  if (sent.ok() || sent.error() == EAGAIN || sent.error() == EWOULDBLOCK || sendFailureReported_) return;
  sendFailureReported_ = true;
  context_.owner.ShowMessage(MessageStyle::Ok, SendFailureText(sent, address, endpoints_.udpPort), "");
}

void NetworkDiscovery::Search() {
  SendTo(endpoints_.onlyConsole.value_or(endpoints_.broadcastAddress), kGetIp);
  Receive(milliseconds(100));
  if (!endpoints_.onlyConsole) SweepSubnet();
  addresses_.linkedHostAddress.store(DiscoveredAddresses::kLinkedHostUnknown);
  Receive(milliseconds(200));
  Receive(milliseconds(200));
}

void NetworkDiscovery::SweepSubnet() {
  const Ipv4Address subnet = addresses_.localAddress.load() & 0xFFFFFF00u;
  for (int host = kFirstSweepHost; host <= kLastSweepHost && KeepRunning(); ++host) {
    SendTo(subnet | static_cast<Ipv4Address>(host), kGetIp);
    (void)running_.SleepFor(milliseconds(2));
  }
}

void NetworkDiscovery::SendPendingModuleCommand() {
  if (commandCursor_ > ModuleCommandTable::kLastSendableSlot) commandCursor_ = 0;
  const auto slot = context_.modules.FindPending(commandCursor_);
  if (!slot) {
    commandCursor_ = ModuleCommandTable::kLastSendableSlot + 1;
    return;
  }
  commandCursor_ = *slot;
  const std::string text = context_.modules.Text(*slot);
  SendTo(addresses_.serverAddress.load(), std::string_view(text.c_str(), text.size() + 1));
}

void NetworkDiscovery::AskLinkedHost() {
  const Ipv4Address linked = addresses_.linkedHostAddress.load();
  if (linked == 0 || linked == addresses_.localAddress.load()) return;
  (void)running_.SleepFor(milliseconds(50));
  context_.modules.SetModuleCommand(ModuleCommandTable::kGetLinkIp, kGetLinkIp.substr(0, kGetLinkIp.size() - 1));
  SendTo(addresses_.serverAddress.load(), kGetLinkIp);
}

bool NetworkDiscovery::Receive(milliseconds limit, Ipv4Address from) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  bool arrived = false;
  while (!arrived && KeepRunning()) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    arrived = socket_.ReceiveFor(left, [this, from](std::string_view text, Ipv4Address sender) {
      if (from == kAnySender || sender == from) context_.ReceiveModuleText(text);
    });
  }
  // Each answer is taken once: a later datagram must not undo the user's choice of console.
  ModuleCommandTable& modules = context_.modules;
  if (modules.Done(ModuleCommandTable::kGetIp)) {
    modules.ClearDone(ModuleCommandTable::kGetIp);
    addresses_.serverAddress.store(modules.Number(ModuleCommandTable::kGetIp));
  }
  if (modules.Done(ModuleCommandTable::kGetLinkIp)) {
    modules.ClearDone(ModuleCommandTable::kGetLinkIp);
    addresses_.linkedHostAddress.store(modules.Number(ModuleCommandTable::kGetLinkIp));
  }
  return arrived;
}

}  // namespace rmt4
