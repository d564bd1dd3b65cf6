#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/console_model.h"
#include "emulator/module_text.h"
#include "protocol/link_frame.h"

namespace rmt4::emulator {

/// How an emulated console identifies itself.
struct ConsoleSettings {
  std::uint16_t deviceType = kSupportedDeviceType;
  /// Bit n set: mode n is locked (cannot be renamed or overwritten).
  std::uint32_t modeLockMask = 0;
  std::uint32_t seed = 1;
  ModuleIdentity module;
  /// False: no sound reaches the console, its meters read silence.
  bool soundingMeters = true;
};

/// The console as its links see it: request frames in, reply frames out,
/// plus the unsolicited frame of a change made on the console and the text
/// answers of its network module. No sockets: every transport, and tests,
/// drive the same object. Thread-safe; one instance serves all links.
class ConsoleResponder {
 public:
  /// ReadParams replies carry at most this many entries (248 payload bytes).
  static constexpr std::size_t kMaxEntriesPerFrame = 62;

  explicit ConsoleResponder(const ConsoleSettings& settings);

  /// The frames answering one request, in wire order; none for a request the
  /// console does not answer.
  [[nodiscard]] std::vector<LinkFrame> Respond(const FrameView& request);

  /// A fault, for testing the PC side: reads and dumps leave this address out.
  void LeaveOutOfReads(ParamAddress address);

  /// A fader moved on the console: stores the value and returns the
  /// unsolicited ReadParams frame that tells the PC.
  [[nodiscard]] LinkFrame ChangeFromConsole(ParamAddress address, std::uint16_t value);

  [[nodiscard]] std::uint16_t Value(ParamAddress address) const;
  /// The console starts from these values (a scene); see ConsoleModel::Load.
  void Load(std::span<const std::uint16_t> values);

  /// The module's answer to a text command (UDP or ModuleText frame).
  [[nodiscard]] std::optional<std::string> ModuleCommand(std::string_view text);
  void SetLinkedHost(Ipv4 host);

 private:
  using Frames = std::vector<LinkFrame>;

  Frames OnDeviceQuery() const;
  Frames OnWrite(std::span<const std::uint8_t> payload);
  Frames OnRead(std::span<const std::uint8_t> payload);
  Frames OnDumpAll();
  Frames OnModeName(std::span<const std::uint8_t> payload) const;
  Frames OnModuleText(std::span<const std::uint8_t> payload);
  /// Values of the given addresses, in ReadParams frames of up to 62 entries.
  Frames ValueFrames(const std::vector<ParamAddress>& addresses);
  /// The value as a read sees it: a read of the meters is a poll.
  std::uint16_t ReadValue(ParamAddress address);

  mutable std::mutex mutex_;
  std::optional<ParamAddress> leftOut_;
  ConsoleModel model_;
  NetworkModule module_;
};

}  // namespace rmt4::emulator
