#pragma once

#include <filesystem>
#include <string_view>

namespace rmt4 {

/// The folders in which the programs keep their own files (scene files,
/// settings and the change log). Every program of the project uses the same ones, wherever its
/// executable lies. Each ends with a separator when set; an empty path means
/// "unknown" and is never used as a folder (it would silently mean the
/// current folder).
struct AppFolders {
  /// Where scenes are saved: "scenes/" in the data folder (`SceneDirectory`).
  std::filesystem::path sceneDirectory;
  /// The data folder itself: "$RMT4_DATA_DIR/", else "$XDG_DATA_HOME/rmt4/",
  /// else "~/.local/share/rmt4/" (`FallbackDirectory`). It holds the settings
  /// files, and scenes that could not go to `sceneDirectory` or that older
  /// builds saved there.
  std::filesystem::path fallbackDirectory;
  /// "FileData/" beside the executable, where older builds kept their scenes
  /// and settings: still read and listed, never written.
  std::filesystem::path legacyDirectory{};
  /// Where the day's change logs are kept: "$RMT4_DATA_DIR/state/", else
  /// "$XDG_STATE_HOME/rmt4/", else "~/.local/state/rmt4/".
  std::filesystem::path stateDirectory{};

  /// The settings files live in the data folder itself.
  [[nodiscard]] const std::filesystem::path& settingsDirectory() const { return fallbackDirectory; }
};

/// The folders for a given executable path and environment, without touching
/// the system: `dataDir`, `xdgDataHome`, `home` and `xdgStateHome` are the
/// values of RMT4_DATA_DIR, XDG_DATA_HOME, HOME and XDG_STATE_HOME (nullptr or
/// empty when unset). A relative RMT4_DATA_DIR, XDG_DATA_HOME or
/// XDG_STATE_HOME is ignored, as the XDG base directory rules demand.
[[nodiscard]] AppFolders ComputeAppFolders(const std::filesystem::path& executable, const char* dataDir,
                                           const char* xdgDataHome, const char* home,
                                           const char* xdgStateHome = nullptr);

/// The running executable, from /proc/self/exe; empty when it cannot be read.
[[nodiscard]] std::filesystem::path ExecutablePath();

/// The real folders of this process: ExecutablePath(), RMT4_DATA_DIR,
/// XDG_DATA_HOME, HOME (or the password database when HOME is unset),
/// XDG_STATE_HOME.
[[nodiscard]] AppFolders CurrentAppFolders();

/// `directory` + `name`, or an empty
/// path when the folder is unknown or the name is absolute (an absolute name
/// names its own place and is looked up "as given" only).
[[nodiscard]] std::filesystem::path JoinFolder(const std::filesystem::path& directory,
                                               std::string_view name);

}  // namespace rmt4
