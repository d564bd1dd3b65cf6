#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "console_process.h"
#include "counting_owner.h"
#include "link/link_worker.h"

namespace rmt4::faults {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

/// One emulated console on loopback and what a link needs to reach it: the
/// RMT4_* variables point the network search at its address alone (no
/// broadcast, no sweep), and with a serial cable the port is its stable link.
class FaultRig {
 public:
  /// Starts rmt4-console on `address` with free ports and `extra` options.
  FaultRig(const std::string& address, bool serial, std::vector<std::string> extra = {});
  ~FaultRig();
  FaultRig(const FaultRig&) = delete;
  FaultRig& operator=(const FaultRig&) = delete;

  [[nodiscard]] bool Ready() const { return console_ && console_->ready(); }
  /// One command line to the console; the line it answers, "" when it did not.
  std::string Ask(const std::string& command);
  /// The console's value of `address`, nothing when it did not answer.
  [[nodiscard]] std::optional<std::uint16_t> ConsoleValue(ParamAddress address);
  /// A link worker over the real transports, not started yet.
  [[nodiscard]] std::unique_ptr<LinkWorker> MakeWorker(CountingOwner& owner) const;
  [[nodiscard]] const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path serialLink_;  // empty: the network
  std::optional<Ipv4Address> address_;
  std::unique_ptr<test::ConsoleProcess> console_;
};

/// A new empty folder under the temporary folder; empty when none could be made.
[[nodiscard]] std::filesystem::path MakeTempFolder();

/// Polls `done` until it holds or `limit` passed; true when it held.
bool WaitUntil(std::chrono::milliseconds limit, const std::function<bool()>& done);

/// Open descriptors and threads of this process, from /proc/self.
struct ProcessCounts {
  long fds = 0;
  long threads = 0;
  [[nodiscard]] static ProcessCounts Now();
  friend bool operator==(const ProcessCounts&, const ProcessCounts&) = default;
};

/// Median and maximum of measured times; both 0 for none.
struct TimeSummary {
  double medianMs = 0;
  double maxMs = 0;
  [[nodiscard]] static TimeSummary Of(std::vector<double> milliseconds);
};

/// Addresses the console stores as they are written: not the device type and
/// meters, not the mode, keep-alive and console words, not the linked MAIN
/// pairs and PFL words that one edit changes together.
[[nodiscard]] std::vector<ParamAddress> PlainAddresses();

/// The random source of a run: `--seed N` repeats one.
using Random = std::mt19937;

/// A value in 0..top other than `current`: an edit that changes something.
[[nodiscard]] std::uint16_t FreshValue(Random& random, std::uint16_t current, std::uint16_t top);

}  // namespace rmt4::faults
