#include "platform/app_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace rmt4 {
namespace {

std::filesystem::path WithTrailingSeparator(std::filesystem::path folder) {
  if (!folder.empty() && !folder.native().ends_with('/')) {
    folder += "/";
  }
  return folder;
}

std::string HomeFromPasswordDatabase() {
  long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 ||
      result == nullptr || result->pw_dir == nullptr) {
    return {};
  }
  return result->pw_dir;
}

}  // namespace

AppFolders ComputeAppFolders(const std::filesystem::path& executable, const char* dataDir,
                             const char* xdgDataHome, const char* home, const char* xdgStateHome) {
  const auto absolute = [](const char* text) {
    return text != nullptr && text[0] == '/' ? std::string(text) : std::string();
  };
  AppFolders folders;
  if (!executable.empty() && executable.has_parent_path()) {
    folders.legacyDirectory = WithTrailingSeparator(executable.parent_path()) / "FileData/";
  }
  if (const std::string data = absolute(dataDir); !data.empty()) {
    folders.fallbackDirectory = WithTrailingSeparator(data);
  } else if (const std::string xdg = absolute(xdgDataHome); !xdg.empty()) {
    folders.fallbackDirectory = WithTrailingSeparator(xdg) / "rmt4/";
  } else if (const std::string homeText = absolute(home); !homeText.empty()) {
    folders.fallbackDirectory = WithTrailingSeparator(homeText) / ".local/share/rmt4/";
  }
  // The override keeps everything of the program together (tests point it at a folder of their own).
  if (const std::string data = absolute(dataDir); !data.empty()) {
    folders.stateDirectory = WithTrailingSeparator(data) / "state/";
  } else if (const std::string xdg = absolute(xdgStateHome); !xdg.empty()) {
    folders.stateDirectory = WithTrailingSeparator(xdg) / "rmt4/";
  } else if (const std::string homeText = absolute(home); !homeText.empty()) {
    folders.stateDirectory = WithTrailingSeparator(homeText) / ".local/state/rmt4/";
  }
  if (!folders.fallbackDirectory.empty()) folders.sceneDirectory = folders.fallbackDirectory / "scenes/";
  return folders;
}

std::filesystem::path ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(length));
      // A replaced or removed executable reads as "/path (deleted)".
      constexpr std::string_view kDeleted = " (deleted)";
      if (path.ends_with(kDeleted)) {
        path.resize(path.size() - kDeleted.size());
      }
      return path;
    }
    if (buffer.size() >= (1u << 20)) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
}

AppFolders CurrentAppFolders() {
  const char* home = std::getenv("HOME");
  std::string homeFromDatabase;
  if (home == nullptr || *home == '\0') {
    homeFromDatabase = HomeFromPasswordDatabase();
    home = homeFromDatabase.c_str();
  }
  return ComputeAppFolders(ExecutablePath(), std::getenv("RMT4_DATA_DIR"), std::getenv("XDG_DATA_HOME"), home,
                           std::getenv("XDG_STATE_HOME"));
}

std::filesystem::path JoinFolder(const std::filesystem::path& directory, std::string_view name) {
  if (directory.empty() || name.empty() || name.front() == '/') {
    return {};
  }
  return WithTrailingSeparator(directory) / std::filesystem::path(std::string(name));
}

}  // namespace rmt4
