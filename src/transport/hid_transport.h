#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "protocol/link_transport.h"
#include "transport/hid_backend.h"
#include "platform/named_lock.h"
#include "transport/hid_channel_lock.h"
#include "transport/worker_thread.h"

namespace rmt4 {

inline constexpr std::uint16_t kConsoleVendorId = 0x4084;
inline constexpr std::uint16_t kConsoleProductId = 0x4357;

/// Waits of the USB connection; tests shorten the slow ones.
struct HidTiming {
  /// For the console's answer to the address-0 probe.
  std::chrono::milliseconds probeWait{500};
  /// Between two searches for the device.
  std::chrono::milliseconds searchInterval{100};
  /// Before claiming the channel lock again after it was found taken.
  std::chrono::milliseconds blockedRetry{2000};
  /// For one output report to be taken by the device.
  std::chrono::milliseconds writeLimit{100};
  /// How long one read waits before the reader looks at its stop flags.
  std::chrono::milliseconds readSlice{100};
};

/// Connection kind 1: the console as a USB HID device, frames wrapped in
/// 65-byte reports. One handle writes (under a guard, from any thread), a
/// second one is read by the reader thread, which feeds the parser.
class HidTransport final : public LinkTransport {
 public:
  /// The real device through hidapi, the lock file in DefaultLockDirectory().
  HidTransport(LinkContext& context, FrameSender& sender);
  HidTransport(LinkContext& context, FrameSender& sender, std::unique_ptr<HidBackend> backend,
               std::filesystem::path lockDirectory, HidTiming timing = {});
  HidTransport(const HidTransport&) = delete;
  HidTransport& operator=(const HidTransport&) = delete;
  ~HidTransport() override;

  void Connect() override { HidConnect(); }
  /// The reader runs.
  [[nodiscard]] bool IsConnected() const override { return reader_.Running(); }
  void Send(std::span<const std::uint8_t> frame) override { HidWriteFrame(frame); }
  void Close() override { HidClose(); }

  /// Claims the channel lock, searches the device every searchInterval and
  /// returns once it answered the probe (linkUp set) or the program is closing.
  void HidConnect();
  /// Opens the first interface with the console's vendor and product IDs
  /// for writing, and for reading unless the reader still runs.
  [[nodiscard]] bool HidOpenDevice();
  /// Writes the frame's reports in order; stops at the first that fails or
  /// is not taken within writeLimit. Returns whether all went out.
  bool HidWriteFrame(std::span<const std::uint8_t> frame);
  /// Closes the write handle and stops the reader; does not wait for it.
  void HidClose();

 private:
  [[nodiscard]] bool StartReader(std::unique_ptr<HidDevice> device);
  void StopReader();
  void ReadLoop(HidDevice& device);
  /// Tells the user once why the console's interface cannot be opened; returns false.
  bool ReportOpenProblem(const std::string& problem);
  /// Holds the channel lock when it returns true; false when closing.
  bool ClaimChannelLock();
  /// Reads address 0; true when its value arrived.
  bool ProbeAddressZero();

  LinkContext& context_;
  FrameSender& sender_;
  const std::unique_ptr<HidBackend> backend_;
  const HidTiming timing_;
  NamedLock lock_;
  bool lockProblemShown_ = false;
  bool openProblemShown_ = false;

  std::mutex writeMutex_;
  std::unique_ptr<HidDevice> writeDevice_;

  std::atomic<bool> readerStop_{false};
  WorkerThread reader_;
};

}  // namespace rmt4
