#pragma once

#include <filesystem>
#include <string_view>

namespace rmt4 {

/// The two folders in which the program keeps its own files (scene files and
/// settings). Both end with a separator when set; an empty
/// path means "unknown" and is never used as a folder (it would silently mean
/// the current folder).
struct AppFolders {
  /// The folder of the executable followed by "FileData/" (`SceneDirectory`).
  std::filesystem::path sceneDirectory;
  /// The user's data folder: "$XDG_DATA_HOME/rmt4/", else "~/.local/share/rmt4/"
  /// (`FallbackDirectory`).
  std::filesystem::path fallbackDirectory;
};

/// The folders for a given executable path and environment, without touching
/// the system: `xdgDataHome` and `home` are the values of XDG_DATA_HOME and
/// HOME (nullptr or empty when unset). A relative XDG_DATA_HOME is ignored, as
/// the XDG base directory rules demand.
[[nodiscard]] AppFolders ComputeAppFolders(const std::filesystem::path& executable,
                                           const char* xdgDataHome, const char* home);

/// The running executable, from /proc/self/exe; empty when it cannot be read.
[[nodiscard]] std::filesystem::path ExecutablePath();

/// The real folders of this process: ExecutablePath(), XDG_DATA_HOME, HOME
/// (or the password database when HOME is unset).
[[nodiscard]] AppFolders CurrentAppFolders();

/// `directory` + `name`, or an empty
/// path when the folder is unknown or the name is absolute (an absolute name
/// names its own place and is looked up "as given" only).
[[nodiscard]] std::filesystem::path JoinFolder(const std::filesystem::path& directory,
                                               std::string_view name);

}  // namespace rmt4
