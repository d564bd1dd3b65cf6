#pragma once

#include <atomic>
#include <mutex>
#include <span>

#include "emulator/in_process_console.h"
#include "fault_rig.h"

namespace rmt4::faults {

/// The console in this process behind a cable that loses or garbles a share
/// of the frames the PC sends and of those the console answers: a lost
/// request never reaches the console, a lost reply leaves the console changed
/// and the PC untold, a garbled frame fails its CRC at the other end.
class LossyConsole final : public emulator::InProcessConsole {
 public:
  LossyConsole(LinkContext& context, emulator::ConsoleResponder& console, double faultShare, unsigned seed);

  void Send(std::span<const std::uint8_t> frame) override;
  /// Frames sent by the PC so far, and frames lost or garbled either way.
  [[nodiscard]] long Frames() const { return frames_.load(); }
  [[nodiscard]] long Faults() const { return faults_.load(); }

 private:
  enum class Fault { None, RequestLost, RequestGarbled, ReplyLost, ReplyGarbled };
  Fault Draw();
  /// One byte of `bytes` changed.
  void Garble(std::vector<std::uint8_t>& bytes);

  LinkContext& context_;
  emulator::ConsoleResponder& console_;
  const double faultShare_;
  std::mutex mutex_;  // the random source and the split requests
  Random random_;
  StreamBuffer requests_;
  std::atomic<long> frames_{0};
  std::atomic<long> faults_{0};
};

}  // namespace rmt4::faults
