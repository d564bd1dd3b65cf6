#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "emulator/console_responder.h"
#include "files/scene_codec.h"
#include "i18n/label_id.h"
#include "link/link_worker.h"
#include "platform/app_folders.h"

class QWidget;

namespace rmt4::ui {

/// `rmt4 --offline`: the console logic runs in this process and stands in for
/// the console behind the link's transport seam, so every window works on a
/// scene with nothing attached. It reaches no network and no device. Its
/// meters stay silent: no sound reaches a console that is not there.
class OfflineSession {
 public:
  explicit OfflineSession(AppFolders folders);

  /// Starts the console from a scene (a path, or a name in the scene folders).
  /// Nothing when loaded; otherwise why the scene cannot be used, with the
  /// console left at its defaults.
  [[nodiscard]] std::optional<LabelId> LoadScene(std::string_view name);
  /// As LoadScene, telling the user in their language why a scene cannot be
  /// used; false then.
  [[nodiscard]] bool LoadSceneOrExplain(std::string_view name, QWidget* owner = nullptr);

  /// Options for a link that reaches only this console. The session must
  /// outlive the link.
  [[nodiscard]] LinkWorker::Options LinkOptions();

  /// Whether the console model holds anything other than what the session
  /// started from (its scene or the defaults) or last saved: edits that
  /// only a saved scene keeps.
  [[nodiscard]] bool HasEdits() const;
  /// Saves the console model as the scene `name` (a plain name goes into the
  /// scene folders); its edits then count as kept.
  [[nodiscard]] SceneFileResult SaveEdits(std::string_view name);
  /// Closing with edits: asks whether to save them as a scene (Save, Discard,
  /// Cancel) and saves them under a name the user types. Nothing without
  /// edits; otherwise whether the window may close.
  [[nodiscard]] std::optional<bool> ConfirmClose(QWidget* window);

  [[nodiscard]] emulator::ConsoleResponder& console() { return console_; }
  [[nodiscard]] const AppFolders& folders() const { return folders_; }

 private:
  [[nodiscard]] std::vector<std::uint16_t> ConsoleValues() const;

  AppFolders folders_;
  emulator::ConsoleResponder console_;
  /// What the console held when the session started or was last saved.
  std::vector<std::uint16_t> kept_;
};

}  // namespace rmt4::ui
