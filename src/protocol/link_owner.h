#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "i18n/label_id.h"
#include "i18n/message_presenter.h"

namespace rmt4 {

/// Codes of the notifications the link layer gives its owner (the main window).
enum class UiNotify : int {
  ValueArrived = 0,     ///< argument: the parameter address
  DataReloaded = 1,     ///< after a mode recall, a scene upload or a complete read
  RefreshFinished = 2,  ///< end of a complete read with display refresh
  Status = 4,           ///< delivered synchronously, see LinkStatus
  ProgressHidden = 8,   ///< after every hiding of the progress window
  ChooseConsole = 10,   ///< delivered synchronously, see LinkOwner::ChooseConsole
  /// argument: the address of an edit the console never acknowledged; the
  /// link gave it up and reads the console's value again
  EditNotConfirmed = 11,
  /// argument: the address of the PC the console's network module is linked
  /// to (first octet in the high byte), when it took no conversation from us
  ConsoleBusy = 12,
  /// A scene upload read back what it wrote: see LinkJobs::UploadOutcome
  SceneUploaded = 13,
};

/// The link states the owner sees. NotAnswering: connected, but the console
/// has been silent for the silence limit; Connected follows when it answers again.
enum class LinkStatus : int { Connected = 0, Searching = 1, NotAnswering = 2, Starting = 3 };

/// The status text each owner shows for `status`.
[[nodiscard]] constexpr LabelId LinkStatusLabel(LinkStatus status) {
  switch (status) {
    case LinkStatus::Connected:
      return LabelId::Successful;
    case LinkStatus::NotAnswering:
      return LabelId::NotAnswering;
    default:
      return LabelId::Searching;
  }
}

/// Everything the link layer needs from whoever runs it. The link layer never
/// touches a window: the GUI implements this with Qt, the command-line client
/// prints, tests record. Every call may come from a link thread.
class LinkOwner : public MessagePresenter {
 public:
  /// Queued: returns at once.
  virtual void PostNotify(UiNotify code, int argument) = 0;
  /// Synchronous: returns once the owner has shown the new status.
  virtual void SendStatus(LinkStatus status) = 0;
  /// Synchronous: lets the user pick one of several consoles found on the
  /// network (IPv4 addresses, first octet in the high byte). Nothing when the
  /// user picked none.
  virtual std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) = 0;

  /// Queued: while searching, what the transport is trying now: the
  /// transport and the address, port or device ("TCP 192.168.1.100:6010",
  /// "serial /dev/ttyUSB0"). Owners that show nothing of it need not listen.
  virtual void ShowSearchTarget(const std::string& target) { (void)target; }

  // The progress window.
  virtual void SetProgressMaximum(int maximum) = 0;
  /// A label with one printf-style floating-point placeholder, or none.
  virtual void SetProgressFormat(const std::string& format) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void ShowProgress() = 0;
  virtual void HideProgress() = 0;
};

}  // namespace rmt4
