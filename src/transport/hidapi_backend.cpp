#include "transport/hidapi_backend.h"

#include <hidapi.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

namespace rmt4 {
namespace {

class HidapiDevice final : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* handle) : handle_(handle) {}
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;
  ~HidapiDevice() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) writer_.join();
    hid_close(handle_);
  }

  HidIoStatus Write(const HidReport& report, std::chrono::milliseconds limit) override {
    std::unique_lock lock(mutex_);
    if (pending_ || writing_) return HidIoStatus::Failed;  // an earlier write is still stuck
    if (!writer_.joinable()) writer_ = std::thread([this] { WriteLoop(); });
    pending_ = report;
    changed_.notify_all();
    if (!changed_.wait_for(lock, limit, [this] { return !pending_ && !writing_; })) return HidIoStatus::TimedOut;
    return lastWriteOk_ ? HidIoStatus::Done : HidIoStatus::Failed;
  }

  HidReadResult Read(std::span<std::uint8_t, kHidReportDataBytes> data, std::chrono::milliseconds timeout) override {
    // Unnumbered reports arrive without their report number.
    const int count = hid_read_timeout(handle_, data.data(), data.size(), static_cast<int>(timeout.count()));
    if (count < 0) return {HidIoStatus::Failed, 0};
    if (count == 0) return {HidIoStatus::TimedOut, 0};
    return {HidIoStatus::Done, static_cast<std::size_t>(count)};
  }

 private:
  void WriteLoop() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stopping_ || pending_; });
      if (!pending_) return;
      const HidReport report = *pending_;
      pending_.reset();
      writing_ = true;
      lock.unlock();
      const int written = hid_write(handle_, report.data(), report.size());
      lock.lock();
      writing_ = false;
      lastWriteOk_ = written == static_cast<int>(report.size());
      changed_.notify_all();
    }
  }

  hid_device* const handle_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<HidReport> pending_;
  bool writing_ = false;
  bool lastWriteOk_ = false;
  bool stopping_ = false;
  std::thread writer_;
};

}  // namespace

std::vector<HidDeviceInfo> HidapiBackend::Enumerate(std::uint16_t vendorId) {
  // Product 0 lists every product of the vendor; the caller picks its own.
  hid_device_info* list = hid_enumerate(vendorId, 0);
  std::vector<HidDeviceInfo> devices;
  for (const hid_device_info* device = list; device != nullptr; device = device->next) {
    devices.push_back({device->path != nullptr ? device->path : "", device->vendor_id, device->product_id});
  }
  hid_free_enumeration(list);
  return devices;
}

HidOpenResult HidapiBackend::Open(const std::string& path) {
  errno = 0;
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) {
    // The hidraw backend fails where open(2) fails; errno says why (most often: no udev rule).
    return {nullptr, path + ": " + (errno != 0 ? std::strerror(errno) : "cannot be opened")};
  }
  return {std::make_unique<HidapiDevice>(handle), {}};
}

}  // namespace rmt4
