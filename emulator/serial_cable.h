#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "emulator/pty_link.h"

namespace rmt4::emulator {

/// The serial link as a cable that can be pulled: pulling closes the
/// pseudo-terminal (the PC's open port sees it vanish, as with a pulled
/// USB-serial adapter) and a fresh one is opened a moment later under a new
/// device path. With a link path, a symbolic link there always names the
/// current device, as udev's by-id links follow a replugged adapter.
class SerialCable {
 public:
  /// How long the cable stays pulled.
  static constexpr std::chrono::milliseconds kPulledFor{300};

  SerialCable(PtyLink::Services services, std::optional<std::string> linkPath);
  /// Removes the symbolic link.
  ~SerialCable();
  SerialCable(const SerialCable&) = delete;
  SerialCable& operator=(const SerialCable&) = delete;

  /// Opens a pseudo-terminal and points the link at it; an error text on failure.
  [[nodiscard]] std::string Plug();
  /// Closes the pseudo-terminal; false when it was already pulled.
  bool Pull();
  /// Milliseconds until the cable is due to be plugged back; -1 when it is plugged.
  [[nodiscard]] int MillisecondsToReplug() const;
  /// Plugs the cable back once it is due; a failure is logged and retried after another pause.
  void ReplugWhenDue();

  /// The current device path; empty while pulled.
  [[nodiscard]] std::string DevicePath() const { return pty_ ? pty_->DevicePath() : std::string(); }

 private:
  /// Replaces the link atomically, so a PC never finds it missing or half made.
  [[nodiscard]] std::string PointLinkAt(const std::string& device);

  PtyLink::Services services_;
  std::optional<std::string> linkPath_;
  std::unique_ptr<PtyLink> pty_;
  std::optional<std::chrono::steady_clock::time_point> replugAt_;
  bool linkMade_ = false;
};

}  // namespace rmt4::emulator
