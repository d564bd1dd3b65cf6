#pragma once

// Scene names come from the user's keyboard and become file names inside the
// scene folders. Only a plain file name may pass: anything that could reach
// outside those folders is refused before a file is created, read or deleted.

#include <cstddef>
#include <string_view>

namespace rmt4 {

enum class SceneNameFault {
  kNone,
  kFolderPart,        ///< contains '/' or '\'
  kDots,              ///< starts with a dot (hidden file, "." or "..") or contains ".."
  kControlCharacter,  ///< a byte below 0x20 or DEL
  kTooLong,           ///< longer than one file-name component may be, with the extension
};

/// Longest file name (bytes, extension included) the file systems we run on accept.
inline constexpr std::size_t kMaxSceneFileNameBytes = 255;

/// Why `name` may not name a scene file; kNone for a plain file name. An empty
/// name is no fault here: the callers have their own answer to it. `extension`
/// counts towards the length when the name does not contain it yet.
[[nodiscard]] SceneNameFault CheckSceneName(std::string_view name, std::string_view extension = ".mxb");

}  // namespace rmt4
