#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/console_responder.h"
#include "emulator/console_session.h"
#include "transport/hid_backend.h"

namespace rmt4::test {

/// A USB bus with the console's HID interface on it, as the program sees it
/// through a HidBackend: the emulator's console logic behind 65-byte
/// reports. Tests plug and unplug the console, add other products of the
/// same vendor, stall writes and pace the console's reports. Thread-safe.
class FakeHidBus {
 public:
  explicit FakeHidBus(emulator::ConsoleResponder& console) : console_(console) {}

  /// A backend for one transport; it lives on while the bus does.
  [[nodiscard]] std::unique_ptr<HidBackend> MakeBackend();

  /// Plugs the console in (again); the console keeps its state across plugs.
  void PlugConsole();
  /// Pulls the console's cable: its handles fail from now on.
  void UnplugConsole();
  /// Another product of the console's vendor; it never answers.
  void PlugOtherProduct(std::uint16_t productId);
  /// Opening fails as it does without the udev rule.
  void RefuseOpens(bool refused);
  /// Writes hang until their time limit runs out.
  void StallWrites(bool stalled);
  /// The console sends at most one input report per interval (0: at once).
  void PaceReports(std::chrono::microseconds interval);
  /// A fader moved on the console.
  void ChangeOnConsole(ParamAddress address, std::uint16_t value);

  [[nodiscard]] int OpenCount(std::uint16_t productId) const;
  /// How often a transport looked for devices: each search does once.
  [[nodiscard]] int EnumerateCount() const;
  /// Output reports the console's interface was asked to take, stalled or not.
  [[nodiscard]] std::vector<HidReport> WrittenReports() const;
  /// Input reports the console has queued for the PC so far.
  [[nodiscard]] std::size_t InputReportsSent() const;

  // For the backend and its handles.
  struct Interface;
  [[nodiscard]] std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId) const;
  [[nodiscard]] HidOpenResult Open(const std::string& path);
  HidIoStatus Write(Interface& device, const HidReport& report, std::chrono::milliseconds limit);
  HidReadResult Read(Interface& device, std::span<std::uint8_t, kHidReportDataBytes> data,
                     std::chrono::milliseconds timeout);

 private:
  using Clock = std::chrono::steady_clock;
  void QueueReplyLocked(Interface& device, const LinkFrame& frame);

  emulator::ConsoleResponder& console_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::shared_ptr<Interface>> present_;
  std::shared_ptr<Interface> consoleInterface_;
  int plugCount_ = 0;
  mutable int enumerations_ = 0;
  bool stalled_ = false;
  bool refused_ = false;
  Clock::duration pace_{};
  std::map<std::uint16_t, int> opens_;
  std::vector<HidReport> written_;
  std::size_t inputReports_ = 0;
};

}  // namespace rmt4::test
