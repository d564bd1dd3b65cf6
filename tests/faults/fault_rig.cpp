#include "fault_rig.h"

#include <stdlib.h>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <thread>

#include "transport/transport_factory.h"

namespace rmt4::faults {
namespace {

namespace fs = std::filesystem;

void SetVariable(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

long CountEntries(const char* folder) {
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  return error ? -1 : static_cast<long>(std::distance(entries, fs::directory_iterator()));
}

}  // namespace

fs::path MakeTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "rmt4-faults-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

FaultRig::FaultRig(const std::string& address, bool serial, std::vector<std::string> extra)
    : folder_(MakeTempFolder()), address_(ParseIpv4(address)) {
  if (folder_.empty() || !address_) {
    std::cerr << "link_faults: no temporary folder or a bad address " << address << std::endl;
    return;
  }
  if (serial) {
    serialLink_ = folder_ / "console-serial";
    extra.insert(extra.end(), {"--pty-link", serialLink_.string()});
  }
  console_ = std::make_unique<test::ConsoleProcess>(*address_, 0, 0, extra);
  if (!console_->ready()) {
    std::cerr << "link_faults: rmt4-console did not start" << std::endl;
    return;
  }
  // The search asks the console's own loopback address only, from a loopback address.
  SetVariable("RMT4_LOCAL_ADDRESS", FormatIpv4(kLoopbackAddress));
  SetVariable("RMT4_BROADCAST_ADDRESS", address);
  SetVariable("RMT4_TCP_PORT", std::to_string(console_->tcpPort()));
  SetVariable("RMT4_UDP_PORT", std::to_string(console_->udpPort()));
  if (serial) SetVariable("RMT4_SERIAL_PORTS", serialLink_.string());
}

FaultRig::~FaultRig() {
  console_.reset();
  std::error_code ignored;
  if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

std::string FaultRig::Ask(const std::string& command) {
  if (!console_) return {};
  return console_->Ask(command).value_or(std::string());
}

std::optional<std::uint16_t> FaultRig::ConsoleValue(ParamAddress address) {
  const std::string prefix = std::to_string(address) + ' ';
  const std::string answer = Ask("get " + std::to_string(address));
  if (!answer.starts_with(prefix)) return std::nullopt;
  return static_cast<std::uint16_t>(std::stoul(answer.substr(prefix.size())));
}

std::unique_ptr<LinkWorker> FaultRig::MakeWorker(CountingOwner& owner) const {
  TransportChoice choice;
  if (serialLink_.empty()) {
    choice.onlyConsole = address_;
  } else {
    choice.serialDevice = serialLink_.string();
  }
  const ConnectionKind kind = serialLink_.empty() ? kNetwork : ConnectionKind{0};
  LinkWorker::Options options;
  options.makeTransport = MakeTransportFactory(choice);
  options.readConfiguration = [kind] { return LinkConfiguration{kind, 128000}; };
  options.sceneFolders = AppFolders{folder_ / "scenes" / "", folder_ / "fallback" / ""};
  return std::make_unique<LinkWorker>(owner, std::move(options));
}

bool WaitUntil(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::vector<ParamAddress> PlainAddresses() {
  constexpr int kPflOffset = 13;  // an input channel's PFL word
  constexpr int kInputChannels = 10;
  std::vector<int> excluded{address::kDeviceType, address::kLevelMeters, address::kMainBus, address::kMainBusLinked,
                            address::kMainOn,     address::kMainOnLinked,  address::kPflBus};
  for (int channel = 0; channel < kInputChannels; ++channel) excluded.push_back(InputBlockBase(channel) + kPflOffset);
  std::vector<ParamAddress> plain;
  for (int a = 1; a < static_cast<int>(kParamCount); ++a) {
    const bool consoleWord = a >= 1201 && a <= address::kKeepAlive;
    if (!consoleWord && std::find(excluded.begin(), excluded.end(), a) == excluded.end()) {
      plain.push_back(static_cast<ParamAddress>(a));
    }
  }
  return plain;
}

std::uint16_t FreshValue(Random& random, std::uint16_t current, std::uint16_t top) {
  std::uniform_int_distribution<int> value(0, top);
  std::uint16_t fresh = current;
  while (fresh == current) fresh = static_cast<std::uint16_t>(value(random));
  return fresh;
}

ProcessCounts ProcessCounts::Now() { return {CountEntries("/proc/self/fd"), CountEntries("/proc/self/task")}; }

TimeSummary TimeSummary::Of(std::vector<double> milliseconds) {
  if (milliseconds.empty()) return {};
  std::sort(milliseconds.begin(), milliseconds.end());
  const std::size_t middle = milliseconds.size() / 2;
  const double median = milliseconds.size() % 2 == 1 ? milliseconds[middle]
                                                     : (milliseconds[middle - 1] + milliseconds[middle]) / 2;
  return {median, milliseconds.back()};
}

}  // namespace rmt4::faults
