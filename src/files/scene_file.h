#pragma once

// Scene files ".mxb": a snapshot of the console's 1574 parameter
// values in the console's interchange format, and `CZB_FileData`, the object
// that writes, reads, saves, loads, deletes and lists them.
//
// The codec (EncodeSceneFile / DecodeSceneFile) is pure and works on bytes;
// CZB_FileData adds the file system, the folders and the clock.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_folders.h"
#include "protocol/address_map.h"

namespace rmt4 {

inline constexpr std::size_t kSceneParamCount = kParamCount;
inline constexpr std::uint32_t kSceneDataOffset = 512;
inline constexpr std::size_t kScenePlainPrefix = 256;   // bytes kept in the clear
inline constexpr std::size_t kSceneHeaderEnd = 336;     // end of the header fields
inline constexpr std::size_t kSceneWrittenFileSize = 7072;
/// Files larger than this are refused from their size, before reading. A file
/// of our own is 7072 bytes; the bound leaves room for other writers' larger
/// headers or parameter sets.
inline constexpr std::size_t kMaxSceneFileBytes = 1024 * 1024;

/// Result codes of the scene-file operations (the System window and the link
/// worker turn them into messages).
enum class SceneFileResult : int {
  kOk = 0,
  kAlreadyExists = 1,   // write: a file of that name exists (left unchanged)
  kEmptyName = 2,
  kCannotOpen = 4,      // read: missing, not a regular file, or not readable
  kCannotCreate = 5,    // write: the file could not be created or written
  kUnreadable = 6,      // read: checksum mismatch, short/damaged or oversized file
  kNotFound = 7,        // delete: no such file in any searched place
};

struct SceneTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  friend bool operator==(const SceneTime&, const SceneTime&) = default;
};

/// The local time now (localtime_r).
[[nodiscard]] SceneTime LocalSceneTime();

/// The header fields of a scene file.
struct SceneHeader {
  std::uint32_t dataOffset = kSceneDataOffset;
  std::uint32_t paramCount = kSceneParamCount;
  std::uint32_t fileDeviceType = 0;
  std::uint32_t reservedA = 0;
  std::uint8_t lockFlag = 0;
  std::uint32_t reservedB = 0;
  SceneTime time;
  friend bool operator==(const SceneHeader&, const SceneHeader&) = default;
};

/// A source of random bytes for the filler and the code table.
using RandomByteSource = std::function<std::uint8_t()>;

/// A source seeded with `seed`: the same seed gives the same bytes.
[[nodiscard]] RandomByteSource SeededRandomBytes(std::uint64_t seed);

/// A source seeded from std::random_device.
[[nodiscard]] RandomByteSource DefaultRandomBytes();

/// The file bytes of a scene as we write it: dataOffset 512, paramCount =
/// values.size(), the given device type and time, reservedA/lockFlag/reservedB
/// 0, random filler and a code table of 20 distinct random bytes. Even a source
/// that repeats itself yields a valid (distinct) code table.
[[nodiscard]] std::vector<std::uint8_t> EncodeSceneFile(std::span<const std::uint16_t> values,
                                                        std::uint32_t deviceType,
                                                        const SceneTime& time,
                                                        const RandomByteSource& random);

struct DecodedScene {
  SceneFileResult result = SceneFileResult::kUnreadable;
  bool headerRead = false;             // header holds the file's fields
  SceneHeader header;
  std::vector<std::uint16_t> values;   // filled only when result is kOk
};

/// Reads file bytes as the format says (any code table, any filler, any
/// dataOffset and paramCount), without reading past the data: kOk, or
/// kUnreadable for a checksum mismatch, a file too short for its header, or
/// offsets and counts that point beyond the data.
[[nodiscard]] DecodedScene DecodeSceneFile(std::span<const std::uint8_t> fileBytes);

/// One row of the scene list of the System window.
struct SceneListEntry {
  int number = 0;                     // 1, 2, ... in list order
  std::string name;                   // title + extension; empty for the last row
  std::filesystem::path directory;    // folder the file was found in; empty for the last row
};

/// The scene list: every regular file whose name ends with `extension` in
/// `currentFolder`, then in `folders.sceneDirectory`, then in
/// `folders.fallbackDirectory` (names sorted within each folder, duplicates
/// kept), then one numbered row with an empty name.
[[nodiscard]] std::vector<SceneListEntry> ListSceneFiles(const std::filesystem::path& currentFolder,
                                                         const AppFolders& folders,
                                                         std::string_view extension = ".mxb");

/// One scene and its file handling. Lives for one operation.
class CZB_FileData {
 public:
  /// Random bytes from a source seeded by std::random_device; saveTime = now.
  explicit CZB_FileData(AppFolders folders);
  /// Random bytes from `seed`, for repeatable files in tests.
  CZB_FileData(AppFolders folders, std::uint64_t seed);

  std::string extension = ".mxb";
  std::uint32_t dataOffset = kSceneDataOffset;
  std::uint32_t paramCount = kSceneParamCount;
  std::uint32_t fileDeviceType = 0;
  std::uint32_t reservedA = 0;
  std::uint8_t lockFlag = 0;
  std::uint32_t reservedB = 0;
  SceneTime saveTime;   // written into files
  SceneTime fileTime;   // read from files
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
  /// As given, else from SceneDirectory, else from FallbackDirectory.
  SceneFileResult LoadSceneFile(std::string_view name);
  /// 0 deleted; 2 empty name; 7 no such file (or it could not be removed).
  SceneFileResult DeleteSceneFile(std::string_view name);
  /// As given or in FallbackDirectory. SceneDirectory is not searched: a save
  /// there replaces the older file anyway.
  [[nodiscard]] bool SceneFileExists(std::string_view name) const;
  /// ListSceneFiles for the process's current folder and this object's folders.
  [[nodiscard]] std::vector<SceneListEntry> ListSceneFiles() const;

  /// The name with `extension` appended when it does not contain it (case-sensitive).
  [[nodiscard]] std::string WithExtension(std::string_view name) const;

  [[nodiscard]] const AppFolders& folders() const { return folders_; }

 private:
  AppFolders folders_;
};

}  // namespace rmt4
