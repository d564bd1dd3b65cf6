#include "transport/hid_transport.h"

#include "transport/address_zero_probe.h"

#include <algorithm>
#include <array>

#include "protocol/frame_sender.h"
#include "protocol/link_context.h"
#include "transport/hidapi_backend.h"

namespace rmt4 {
namespace {

using std::chrono::milliseconds;

/// Sleeps are cut into steps this long so that closing is noticed quickly.
/// After dropping the handles, before searching again: lets a device that
/// is going away disappear from the list.
constexpr milliseconds kSettleAfterClose{100};

std::filesystem::path LockFileIn(const std::filesystem::path& directory) {
  return directory / (HidChannelLockName(kConsoleVendorId, kConsoleProductId) + ".lock");
}

}  // namespace

HidTransport::HidTransport(LinkContext& context, FrameSender& sender)
    : HidTransport(context, sender, std::make_unique<HidapiBackend>(), DefaultLockDirectory()) {}

HidTransport::HidTransport(LinkContext& context, FrameSender& sender, std::unique_ptr<HidBackend> backend,
                           std::filesystem::path lockDirectory, HidTiming timing)
    : context_(context),
      sender_(sender),
      backend_(std::move(backend)),
      timing_(timing),
      lock_(LockFileIn(lockDirectory)) {}

HidTransport::~HidTransport() {
  HidClose();
  reader_.Join();
}

void HidTransport::HidConnect() {
  if (!context_.appRunning.load()) return;
  context_.SendStatus(LinkStatus::Searching);
  StopReader();
  {
    std::lock_guard guard(writeMutex_);
    writeDevice_.reset();
  }
  if (!context_.appRunning.SleepFor(kSettleAfterClose)) return;
  context_.linkUp.store(false);
  if (!ClaimChannelLock()) return;
  context_.SearchingFor("USB 4084:4357");

  while (context_.appRunning.load()) {
    if (HidOpenDevice() && ProbeAddressZero()) {
      context_.trace.Event("usb connected");
      context_.linkUp.store(true);
      return;
    }
    if (!context_.appRunning.SleepFor(timing_.searchInterval)) return;
  }
}

bool HidTransport::HidOpenDevice() {
  const std::vector<HidDeviceInfo> devices = backend_->Enumerate(kConsoleVendorId);
  const auto console = std::find_if(devices.begin(), devices.end(), [](const HidDeviceInfo& device) {
    return device.vendorId == kConsoleVendorId && device.productId == kConsoleProductId;
  });
  if (console == devices.end()) return false;

  HidOpenResult writer = backend_->Open(console->path);
  if (!writer.device) return ReportOpenProblem(writer.problem);
  if (!reader_.Running()) {
    HidOpenResult reader = backend_->Open(console->path);
    if (!reader.device) return ReportOpenProblem(reader.problem);
    if (!StartReader(std::move(reader.device))) return ReportOpenProblem("cannot start the USB reader thread");
  }
  std::lock_guard guard(writeMutex_);
  writeDevice_ = std::move(writer.device);
  return true;
}

bool HidTransport::HidWriteFrame(std::span<const std::uint8_t> frame) {
  const std::vector<HidReport> reports = WrapHidMessage(frame);
  std::lock_guard guard(writeMutex_);
  if (!writeDevice_) return false;
  // A message cut short is incomplete at the console anyway: the rest is not sent.
  return std::all_of(reports.begin(), reports.end(), [this](const HidReport& report) {
    return writeDevice_->Write(report, timing_.writeLimit) == HidIoStatus::Done;
  });
}

void HidTransport::HidClose() {
  readerStop_.store(true);
  std::lock_guard guard(writeMutex_);
  if (writeDevice_) context_.trace.Event("usb closed");
  writeDevice_.reset();
}

bool HidTransport::StartReader(std::unique_ptr<HidDevice> device) {
  readerStop_.store(false);
  // Shared only because the thread's body must be copyable; the reader alone uses it.
  std::shared_ptr<HidDevice> handle = std::move(device);
  return reader_.Start([this, handle] { ReadLoop(*handle); });
}

void HidTransport::StopReader() {
  readerStop_.store(true);
  reader_.Join();
}

void HidTransport::ReadLoop(HidDevice& device) {
  HidReassembler reassembler;
  std::array<std::uint8_t, kHidReportDataBytes> data{};
  while (context_.appRunning.load() && !readerStop_.load()) {
    const HidReadResult read = device.Read(data, timing_.readSlice);
    if (read.status == HidIoStatus::Failed) break;  // unplugged or closed
    if (read.status == HidIoStatus::TimedOut || read.count == 0) continue;
    if (const auto message = reassembler.Feed(std::span<const std::uint8_t>(data.data(), read.count))) {
      context_.parser.Parse(*message);
    }
  }
  context_.linkUp.store(false);
}

bool HidTransport::ReportOpenProblem(const std::string& problem) {
  // The console is there but out of reach; without this the user would only see "searching".
  if (!openProblemShown_) {
    openProblemShown_ = true;
    context_.owner.ShowMessage(MessageStyle::Ok, problem, "");
  }
  return false;
}

bool HidTransport::ClaimChannelLock() {
  while (context_.appRunning.load()) {
    switch (lock_.TryClaim()) {
      case NamedLock::Claim::Held:
        return true;
      case NamedLock::Claim::Failed:
        // Without a lock file the device still works; say once why the guard is missing.
        if (!lockProblemShown_) {
          lockProblemShown_ = true;
          context_.owner.ShowMessage(MessageStyle::Ok, lock_.Problem(), "");
        }
        return true;
      case NamedLock::Claim::Blocked:
        context_.owner.ShowMessage(
            MessageStyle::Ok, HidChannelLockName(kConsoleVendorId, kConsoleProductId) + " Channel is Blocked!", "");
        if (!context_.appRunning.SleepFor(timing_.blockedRetry)) return false;
        break;
    }
  }
  return false;
}

bool HidTransport::ProbeAddressZero() {
  return rmt4::ProbeAddressZero(context_, sender_, {.wait = timing_.probeWait}, [this] { return IsConnected(); });
}

}  // namespace rmt4
