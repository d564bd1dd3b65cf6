#include "transport/hidapi_backend.h"

#include <hidapi.h>

#include <cerrno>

#include "platform/os_result.h"
#include "transport/hid_write_thread.h"

namespace rmt4 {
namespace {

class HidapiDevice final : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* handle) : handle_(handle, &hid_close) {}

  HidIoStatus Write(const HidReport& report, std::chrono::milliseconds limit) override {
    return writer_.Write(report, limit);
  }

  HidReadResult Read(std::span<std::uint8_t, kHidReportDataBytes> data, std::chrono::milliseconds timeout) override {
    // Unnumbered reports arrive without their report number.
    const int count = hid_read_timeout(handle_.get(), data.data(), data.size(), static_cast<int>(timeout.count()));
    if (count < 0) return {HidIoStatus::Failed, 0};
    if (count == 0) return {HidIoStatus::TimedOut, 0};
    return {HidIoStatus::Done, static_cast<std::size_t>(count)};
  }

 private:
  // Declared first so that it is closed last, after the writer has ended.
  const std::unique_ptr<hid_device, decltype(&hid_close)> handle_;
  // hid_write takes the report number as its first byte.
  HidWriteThread writer_{[this](const HidReport& report) {
    return hid_write(handle_.get(), report.data(), report.size()) == static_cast<int>(report.size());
  }};
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
    return {nullptr, path + ": " + (errno != 0 ? OsResult::FromErrno().Text() : std::string("cannot be opened"))};
  }
  return {std::make_unique<HidapiDevice>(handle), {}};
}

}  // namespace rmt4
