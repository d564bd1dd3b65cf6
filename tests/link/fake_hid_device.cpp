#include "fake_hid_device.h"

#include <algorithm>

#include "transport/hid_transport.h"

namespace rmt4::test {

/// One plugged-in interface. A re-plug makes a new one: handles opened on
/// the old one keep failing, as a real unplugged handle does.
struct FakeHidBus::Interface {
  struct InputReport {
    Clock::time_point readyAt;
    std::array<std::uint8_t, kHidReportDataBytes> data;
  };

  HidDeviceInfo info;
  bool present = true;
  bool isConsole = false;
  // The console's side of the wire: output reports in, reply reports out.
  HidReassembler requests;
  std::unique_ptr<emulator::ConsoleSession> session;
  std::deque<InputReport> input;
  Clock::time_point lastReadyAt{};
};

namespace {

class FakeHidDevice final : public HidDevice {
 public:
  FakeHidDevice(FakeHidBus& bus, std::shared_ptr<FakeHidBus::Interface> device)
      : bus_(bus), device_(std::move(device)) {}
  HidIoStatus Write(const HidReport& report, std::chrono::milliseconds limit) override {
    return bus_.Write(*device_, report, limit);
  }
  HidReadResult Read(std::span<std::uint8_t, kHidReportDataBytes> data, std::chrono::milliseconds timeout) override {
    return bus_.Read(*device_, data, timeout);
  }

 private:
  FakeHidBus& bus_;
  const std::shared_ptr<FakeHidBus::Interface> device_;
};

class FakeHidBackend final : public HidBackend {
 public:
  explicit FakeHidBackend(FakeHidBus& bus) : bus_(bus) {}
  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId) override { return bus_.Enumerate(vendorId); }
  HidOpenResult Open(const std::string& path) override { return bus_.Open(path); }

 private:
  FakeHidBus& bus_;
};

}  // namespace

std::unique_ptr<HidBackend> FakeHidBus::MakeBackend() { return std::make_unique<FakeHidBackend>(*this); }

void FakeHidBus::PlugConsole() {
  std::lock_guard lock(mutex_);
  if (consoleInterface_) return;
  auto device = std::make_shared<Interface>();
  device->info = {"/fake/hidraw-console-" + std::to_string(++plugCount_), kConsoleVendorId, kConsoleProductId};
  device->isConsole = true;
  Interface* raw = device.get();
  // Replies are queued from inside Write, where the bus lock is held.
  device->session = std::make_unique<emulator::ConsoleSession>(
      console_, [this, raw](const LinkFrame& frame) { QueueReplyLocked(*raw, frame); });
  consoleInterface_ = device;
  present_.push_back(std::move(device));
}

void FakeHidBus::UnplugConsole() {
  {
    std::lock_guard lock(mutex_);
    if (!consoleInterface_) return;
    consoleInterface_->present = false;
    std::erase(present_, consoleInterface_);
    consoleInterface_.reset();
  }
  changed_.notify_all();
}

void FakeHidBus::PlugOtherProduct(std::uint16_t productId) {
  std::lock_guard lock(mutex_);
  auto device = std::make_shared<Interface>();
  device->info = {"/fake/hidraw-other-" + std::to_string(++plugCount_), kConsoleVendorId, productId};
  // Listed first, so a search that ignored the product would take it.
  present_.insert(present_.begin(), std::move(device));
}

void FakeHidBus::RefuseOpens(bool refused) {
  std::lock_guard lock(mutex_);
  refused_ = refused;
}

void FakeHidBus::StallWrites(bool stalled) {
  std::lock_guard lock(mutex_);
  stalled_ = stalled;
}

void FakeHidBus::PaceReports(std::chrono::microseconds interval) {
  std::lock_guard lock(mutex_);
  pace_ = interval;
}

void FakeHidBus::ChangeOnConsole(ParamAddress address, std::uint16_t value) {
  const LinkFrame frame = console_.ChangeFromConsole(address, value);
  {
    std::lock_guard lock(mutex_);
    if (consoleInterface_) QueueReplyLocked(*consoleInterface_, frame);
  }
  changed_.notify_all();
}

int FakeHidBus::OpenCount(std::uint16_t productId) const {
  std::lock_guard lock(mutex_);
  const auto found = opens_.find(productId);
  return found == opens_.end() ? 0 : found->second;
}

int FakeHidBus::EnumerateCount() const {
  std::lock_guard lock(mutex_);
  return enumerations_;
}

std::vector<HidReport> FakeHidBus::WrittenReports() const {
  std::lock_guard lock(mutex_);
  return written_;
}

std::size_t FakeHidBus::InputReportsSent() const {
  std::lock_guard lock(mutex_);
  return inputReports_;
}

std::vector<HidDeviceInfo> FakeHidBus::Enumerate(std::uint16_t vendorId) const {
  std::lock_guard lock(mutex_);
  ++enumerations_;
  std::vector<HidDeviceInfo> devices;
  for (const auto& device : present_) {
    if (device->info.vendorId == vendorId) devices.push_back(device->info);
  }
  return devices;
}

HidOpenResult FakeHidBus::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (refused_) return {nullptr, path + ": Permission denied"};
  const auto found =
      std::find_if(present_.begin(), present_.end(), [&](const auto& device) { return device->info.path == path; });
  if (found == present_.end()) return {nullptr, path + ": No such device"};
  ++opens_[(*found)->info.productId];
  return {std::make_unique<FakeHidDevice>(*this, *found), {}};
}

HidIoStatus FakeHidBus::Write(Interface& device, const HidReport& report, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  if (!device.present) return HidIoStatus::Failed;
  written_.push_back(report);
  if (stalled_) {
    // The report is never taken; only unplugging ends the wait early.
    const bool gone = changed_.wait_for(lock, limit, [&] { return !device.present; });
    return gone ? HidIoStatus::Failed : HidIoStatus::TimedOut;
  }
  if (!device.isConsole) return HidIoStatus::Done;
  const std::span<const std::uint8_t> data(report.data() + 1, kHidReportDataBytes);
  if (const auto message = device.requests.Feed(data)) device.session->Receive(*message);
  lock.unlock();
  changed_.notify_all();
  return HidIoStatus::Done;
}

HidReadResult FakeHidBus::Read(Interface& device, std::span<std::uint8_t, kHidReportDataBytes> data,
                               std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  std::unique_lock lock(mutex_);
  while (true) {
    if (!device.present) return {HidIoStatus::Failed, 0};
    const auto now = Clock::now();
    auto wake = deadline;
    if (!device.input.empty()) {
      if (device.input.front().readyAt <= now) {
        std::copy(device.input.front().data.begin(), device.input.front().data.end(), data.begin());
        device.input.pop_front();
        return {HidIoStatus::Done, kHidReportDataBytes};
      }
      wake = std::min(wake, device.input.front().readyAt);
    }
    if (now >= deadline) return {HidIoStatus::TimedOut, 0};
    changed_.wait_until(lock, wake);
  }
}

void FakeHidBus::QueueReplyLocked(Interface& device, const LinkFrame& frame) {
  for (const HidReport& report : WrapHidMessage(frame.Bytes())) {
    Interface::InputReport input;
    input.readyAt = std::max(Clock::now(), device.lastReadyAt + pace_);
    device.lastReadyAt = input.readyAt;
    std::copy(report.begin() + 1, report.end(), input.data.begin());
    device.input.push_back(input);
    ++inputReports_;
  }
}

}  // namespace rmt4::test
