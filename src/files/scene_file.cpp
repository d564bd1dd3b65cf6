#include "files/scene_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "files/file_access.h"

namespace rmt4 {
namespace {

bool IsAbsoluteName(std::string_view name) {
  return !name.empty() && name.front() == '/';
}

}  // namespace

SceneFile::SceneFile(AppFolders folders)
    : saveTime(LocalSceneTime()), randomByte(DefaultRandomBytes()), folders_(std::move(folders)) {}

SceneFile::SceneFile(AppFolders folders, std::uint64_t seed)
    : saveTime(LocalSceneTime()), randomByte(SeededRandomBytes(seed)), folders_(std::move(folders)) {}

std::string SceneFile::WithExtension(std::string_view name) const {
  std::string result(name);
  if (result.find(extension) == std::string::npos) {
    result += extension;
  }
  return result;
}

SceneFileResult SceneFile::WriteSceneFile(
    std::string_view path, std::span<const std::uint16_t, kSceneParamCount> sceneValues) {
  if (path.empty()) {
    return SceneFileResult::kEmptyName;
  }
  const std::string fullPath = WithExtension(path);
  // O_EXCL: an existing file (or link) of that name is never touched, and
  // the check and the creation are one step.
  const int fd = ::open(fullPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) {
    return errno == EEXIST ? SceneFileResult::kAlreadyExists : SceneFileResult::kCannotCreate;
  }
  const std::vector<std::uint8_t> file =
      EncodeSceneFile(sceneValues, header.fileDeviceType, saveTime,
                      randomByte ? randomByte : DefaultRandomBytes());
  bool ok = WriteAll(fd, std::string_view(reinterpret_cast<const char*>(file.data()), file.size())) &&
            ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    ::unlink(fullPath.c_str());  // no half-written scene stays behind
    return SceneFileResult::kCannotCreate;
  }
  return SceneFileResult::kOk;
}

SceneFileResult SceneFile::ReadSceneFile(std::string_view path) {
  if (path.empty()) {
    return SceneFileResult::kEmptyName;
  }
  BoundedRead read = ReadFileBounded(WithExtension(path), kMaxSceneFileBytes);
  switch (read.status) {
    case ReadStatus::kOk:
      break;
    case ReadStatus::kTooLarge:
      return SceneFileResult::kUnreadable;
    case ReadStatus::kMissing:
    case ReadStatus::kNotReadable:
    case ReadStatus::kError:
      return SceneFileResult::kCannotOpen;
  }
  const DecodedScene decoded = DecodeSceneFile(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(read.bytes.data()), read.bytes.size()));
  if (decoded.headerRead) {
    header = decoded.header;
  }
  if (decoded.result == SceneFileResult::kOk) {
    values = decoded.values;
  }
  return decoded.result;
}

SceneFileResult SceneFile::SaveSceneFile(
    std::span<const std::uint16_t, kSceneParamCount> sceneValues, std::string_view name) {
  if (name.empty()) {
    return SceneFileResult::kEmptyName;
  }
  // The extension goes on the name before the folder is put in front, so a
  // folder whose path happens to contain ".mxb" changes nothing.
  const std::string file = WithExtension(name);
  SceneFileResult result = SceneFileResult::kCannotCreate;
  const std::filesystem::path primary = JoinFolder(folders_.sceneDirectory, file);
  if (!primary.empty()) {
    EnsureDirectory(folders_.sceneDirectory);
    savedPath = primary.string();
    DeleteSceneFile(savedPath);  // an older file of that name goes first
    result = WriteSceneFile(savedPath, sceneValues);
  }
  if (result == SceneFileResult::kCannotCreate) {
    const std::filesystem::path fallback = JoinFolder(folders_.fallbackDirectory, file);
    if (!fallback.empty()) {
      EnsureDirectory(folders_.fallbackDirectory);
      savedPath = fallback.string();
      // An older file of that name is replaced here too: a second save of
      // the same name must not fail with "exists".
      DeleteSceneFile(savedPath);
      result = WriteSceneFile(savedPath, sceneValues);
    }
  }
  return result;
}

SceneFileResult SceneFile::LoadSceneFile(std::string_view name) {
  SceneFileResult result = ReadSceneFile(name);
  if (result != SceneFileResult::kCannotOpen || IsAbsoluteName(name)) {
    return result;
  }
  const std::string file = WithExtension(name);
  for (const std::filesystem::path* folder :
       {&folders_.sceneDirectory, &folders_.fallbackDirectory, &folders_.legacyDirectory}) {
    const std::filesystem::path candidate = JoinFolder(*folder, file);
    if (!candidate.empty()) {
      result = ReadSceneFile(candidate.string());
      if (result != SceneFileResult::kCannotOpen) {
        return result;
      }
    }
  }
  return result;
}

SceneFileResult SceneFile::DeleteSceneFile(std::string_view name) {
  if (name.empty()) {
    return SceneFileResult::kEmptyName;
  }
  const std::string withExtension = WithExtension(name);
  const std::filesystem::path candidates[] = {
      std::filesystem::path(withExtension),
      JoinFolder(folders_.sceneDirectory, withExtension),
      JoinFolder(folders_.fallbackDirectory, withExtension),
  };
  for (const std::filesystem::path& candidate : candidates) {
    // The entry itself counts, so a dangling link can be removed too (it
    // would otherwise block every later save of that name).
    struct stat entry {};
    if (!candidate.empty() && ::lstat(candidate.c_str(), &entry) == 0) {
      return ::unlink(candidate.c_str()) == 0 ? SceneFileResult::kOk : SceneFileResult::kNotFound;
    }
  }
  return SceneFileResult::kNotFound;
}

std::filesystem::path SceneFile::SaveTarget(std::string_view name) const {
  if (name.empty()) {
    return {};
  }
  const std::filesystem::path file(WithExtension(name));
  if (file.has_parent_path()) {
    return file;
  }
  for (const std::filesystem::path* folder : {&folders_.sceneDirectory, &folders_.fallbackDirectory}) {
    if (EnsureDirectory(*folder) && ::access(folder->c_str(), W_OK) == 0) {
      return JoinFolder(*folder, file.string());
    }
  }
  return {};
}

bool SceneFile::SceneFileExists(std::string_view name) const {
  return PathExists(SaveTarget(name));
}

std::vector<SceneListEntry> SceneFile::ListSceneFiles() const {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return rmt4::ListSceneFiles(error ? std::filesystem::path() : current, folders_, extension);
}

SceneFileResult CheckSceneReadable(const AppFolders& folders, std::string_view name) {
  return SceneFile(folders).LoadSceneFile(name);
}

}  // namespace rmt4
