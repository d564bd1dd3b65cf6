#pragma once

// `SceneFile`: one scene and the operations on its file: write, read,
// save, load, delete, exists and the listing, with the result codes the
// System window and the link worker turn into messages.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/scene_codec.h"
#include "files/scene_list.h"
#include "platform/app_folders.h"

namespace rmt4 {

/// One scene and its file handling. Lives for one operation.
class SceneFile {
 public:
  /// Random bytes from a source seeded by std::random_device; saveTime = now.
  explicit SceneFile(AppFolders folders);
  /// Random bytes from `seed`, for repeatable files in tests.
  SceneFile(AppFolders folders, std::uint64_t seed);

  std::string extension = ".mxb";
  /// Read from a file; its device type is also what a write records.
  SceneHeader header;
  SceneTime saveTime;  // written into files
  std::vector<std::uint16_t> values;
  std::string savedPath;
  RandomByteSource randomByte;

  /// 0 written; 1 exists (unchanged); 2 empty name; 5 cannot be created or written.
  SceneFileResult WriteSceneFile(std::string_view path,
                                 std::span<const std::uint16_t, kSceneParamCount> sceneValues);
  /// 0 read; 2 empty name; 4 cannot be opened; 6 unreadable (fields other than
  /// the header left as they were; the header only when it could be read).
  SceneFileResult ReadSceneFile(std::string_view path);
  /// Into SceneDirectory (replacing an older file), else FallbackDirectory.
  SceneFileResult SaveSceneFile(std::span<const std::uint16_t, kSceneParamCount> sceneValues,
                                std::string_view name);
  /// As given, else from SceneDirectory, else from FallbackDirectory, else
  /// from the folder beside the executable that older builds used.
  SceneFileResult LoadSceneFile(std::string_view name);
  /// 0 deleted; 2 empty name; 7 no such file (or it could not be removed).
  SceneFileResult DeleteSceneFile(std::string_view name);
  /// Where a save of `name` writes: a path where it points; a bare name into
  /// SceneDirectory when that folder can be written (it is created when
  /// missing), else into FallbackDirectory; empty when neither can be.
  [[nodiscard]] std::filesystem::path SaveTarget(std::string_view name) const;
  /// Whether a save of `name` replaces a file: the file at SaveTarget(name).
  [[nodiscard]] bool SceneFileExists(std::string_view name) const;
  /// ListSceneFiles for the process's current folder and this object's folders.
  [[nodiscard]] std::vector<SceneListEntry> ListSceneFiles() const;

  /// The name with `extension` appended when it does not contain it (case-sensitive).
  [[nodiscard]] std::string WithExtension(std::string_view name) const;

  [[nodiscard]] const AppFolders& folders() const { return folders_; }

 private:
  AppFolders folders_;
};

/// Whether the scene `name` can be uploaded as far as its file goes: it is read
/// from where the upload reads it. kOk, or why it cannot be read. Asked before
/// an upload is started, so that nothing is sent or asked for a file that
/// could not be read.
[[nodiscard]] SceneFileResult CheckSceneReadable(const AppFolders& folders, std::string_view name);

}  // namespace rmt4
