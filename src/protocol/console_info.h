#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "protocol/command.h"

namespace rmt4 {

inline constexpr int kModeCount = 12;
inline constexpr int kModeNameChars = 25;
using ModeName = std::array<char16_t, kModeNameChars>;

/// What the console told us about itself: identification, modes and their
/// lock state. Written by the reader thread, read by the worker and windows.
struct DeviceInfo {
  std::atomic<std::uint16_t> deviceType{0};
  std::atomic<std::uint8_t> modeCount{12};
  std::atomic<std::uint32_t> modeLockMask{0};
  std::atomic<bool> currentModeLocked{false};
};

/// The console's twelve mode names. Names are written whole under a short
/// lock, so a window never shows half of an old and half of a new name.
class ModeNameTable {
 public:
  /// Takes a name arriving for mode m into the buffer and, for m >= 1, into
  /// its slot; modes above 12 wrap onto 1..12.
  void Store(int mode, const ModeName& name);
  [[nodiscard]] ModeName Name(int mode) const;
  /// The name as text, up to its first zero character.
  [[nodiscard]] std::u16string Text(int mode) const;

  /// The last name received, and the name a job is about to store.
  [[nodiscard]] ModeName Buffer() const;
  void SetBuffer(const ModeName& name);

  [[nodiscard]] bool Received(int mode) const;
  void ClearReceived(int mode);

  std::atomic<bool> modeNamesChanged{false};

 private:
  [[nodiscard]] static int Slot(int mode) { return (mode - 1) % kModeCount; }

  mutable std::mutex mutex_;
  std::array<ModeName, kModeCount> names_{};
  ModeName modeNameBuffer_{};
  std::array<std::atomic<bool>, kModeCount + 1> modeNameReceived_{};
};

/// One flag per acknowledged request; the jobs clear a flag before sending
/// and poll it after waiting.
class ReplySeenFlags {
 public:
  void Set(Command command) { Flag(command).store(true); }
  void Clear(Command command) { Flag(command).store(false); }
  [[nodiscard]] bool Seen(Command command) const { return flags_[static_cast<std::uint8_t>(command)].load(); }

 private:
  std::atomic<bool>& Flag(Command command) { return flags_[static_cast<std::uint8_t>(command)]; }
  std::array<std::atomic<bool>, 256> flags_{};
};

/// Decodes the name bytes of a ReadModeName reply: at most 25 characters, one
/// per byte; trailing filler (spaces, control bytes, bytes above 'z') removed.
[[nodiscard]] ModeName DecodeModeName(std::span<const std::uint8_t> nameBytes);

}  // namespace rmt4
