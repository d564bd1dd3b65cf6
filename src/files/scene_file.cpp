#include "files/scene_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <array>
#include <ctime>
#include <random>
#include <system_error>
#include <utility>

#include "files/file_access.h"
#include "protocol/crc16.h"

namespace rmt4 {
namespace {

constexpr std::size_t kCodeTableOffset = 20;
constexpr std::size_t kCodeTableSize = 20;  // 20 distinct bytes; the first 16 encode
constexpr std::size_t kOffsetDataOffset = 256;
constexpr std::size_t kOffsetParamCount = 266;
constexpr std::size_t kOffsetDeviceType = 276;
constexpr std::size_t kOffsetReservedA = 286;
constexpr std::size_t kOffsetLockFlag = 296;
constexpr std::size_t kOffsetReservedB = 301;
constexpr std::size_t kOffsetTime = 306;  // six u32, each followed by one filler byte
constexpr std::size_t kTimeStride = 5;
// Draws before a stuck random source is helped out with unused byte values.
constexpr int kMaxCodeTableDraws = 1 << 16;

void PutU32(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    image[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::uint32_t GetU32(std::span<const std::uint8_t> image, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | image[offset + static_cast<std::size_t>(i)];
  }
  return value;
}

std::array<std::uint8_t, kCodeTableSize> DrawCodeTable(const RandomByteSource& random) {
  std::array<std::uint8_t, kCodeTableSize> table{};
  std::array<bool, 256> used{};
  std::size_t kept = 0;
  for (int draw = 0; draw < kMaxCodeTableDraws && kept < kCodeTableSize; ++draw) {
    const std::uint8_t byte = random();
    if (!used[byte]) {
      used[byte] = true;
      table[kept++] = byte;
    }
  }
  for (unsigned byte = 0; kept < kCodeTableSize; ++byte) {
    if (!used[byte]) {
      used[byte] = true;
      table[kept++] = static_cast<std::uint8_t>(byte);
    }
  }
  return table;
}

bool IsAbsoluteName(std::string_view name) {
  return !name.empty() && name.front() == '/';
}

}  // namespace

SceneTime LocalSceneTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  SceneTime time;
  if (::localtime_r(&now, &local) == nullptr) {
    return time;
  }
  time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  time.day = static_cast<std::uint16_t>(local.tm_mday);
  time.hour = static_cast<std::uint16_t>(local.tm_hour);
  time.minute = static_cast<std::uint16_t>(local.tm_min);
  time.second = static_cast<std::uint16_t>(local.tm_sec);
  return time;
}

RandomByteSource SeededRandomBytes(std::uint64_t seed) {
  return [engine = std::mt19937_64(seed)]() mutable {
    return static_cast<std::uint8_t>(engine() >> 56);
  };
}

RandomByteSource DefaultRandomBytes() {
  std::random_device device;
  std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(),
                     device()};
  return [engine = std::mt19937_64(seed)]() mutable {
    return static_cast<std::uint8_t>(engine() >> 56);
  };
}

std::vector<std::uint8_t> EncodeSceneFile(std::span<const std::uint16_t> values,
                                          std::uint32_t deviceType, const SceneTime& time,
                                          const RandomByteSource& random) {
  const std::size_t valuesEnd = kSceneDataOffset + 2 * values.size();
  std::vector<std::uint8_t> image(valuesEnd + 4);

  for (std::size_t i = 0; i < kSceneDataOffset; ++i) {
    image[i] = random();
  }
  PutU32(image, kOffsetDataOffset, kSceneDataOffset);
  PutU32(image, kOffsetParamCount, static_cast<std::uint32_t>(values.size()));
  PutU32(image, kOffsetDeviceType, deviceType);
  PutU32(image, kOffsetReservedA, 0);
  image[kOffsetLockFlag] = 0;
  PutU32(image, kOffsetReservedB, 0);
  const std::array<std::uint16_t, 6> timeFields{time.year, time.month, time.day,
                                                time.hour, time.minute, time.second};
  for (std::size_t k = 0; k < timeFields.size(); ++k) {
    PutU32(image, kOffsetTime + kTimeStride * k, timeFields[k]);
  }
  const auto table = DrawCodeTable(random);
  std::copy(table.begin(), table.end(), image.begin() + kCodeTableOffset);
  for (std::size_t i = 0; i < values.size(); ++i) {
    image[kSceneDataOffset + 2 * i] = static_cast<std::uint8_t>(values[i]);
    image[kSceneDataOffset + 2 * i + 1] = static_cast<std::uint8_t>(values[i] >> 8);
  }
  PutU32(image, valuesEnd, Crc16(std::span<const std::uint8_t>(image.data(), valuesEnd)));

  std::vector<std::uint8_t> file(kScenePlainPrefix + 2 * (image.size() - kScenePlainPrefix));
  std::copy_n(image.begin(), kScenePlainPrefix, file.begin());
  for (std::size_t i = kScenePlainPrefix, out = kScenePlainPrefix; i < image.size(); ++i, out += 2) {
    file[out] = table[image[i] >> 4];
    file[out + 1] = table[image[i] & 0x0F];
  }
  return file;
}

DecodedScene DecodeSceneFile(std::span<const std::uint8_t> fileBytes) {
  DecodedScene decoded;
  const std::size_t length = fileBytes.size();
  if (length < kScenePlainPrefix) {
    return decoded;  // not even the plain part: no header
  }

  // Nibble of each byte value: index of its first occurrence in the code
  // table, 15 for a byte the table does not hold.
  std::array<std::uint8_t, 256> nibble;
  nibble.fill(15);
  for (std::size_t i = 16; i-- > 0;) {
    nibble[fileBytes[kCodeTableOffset + i]] = static_cast<std::uint8_t>(i);
  }

  std::vector<std::uint8_t> image;
  image.reserve(kScenePlainPrefix + (length - kScenePlainPrefix + 1) / 2);
  image.insert(image.end(), fileBytes.begin(), fileBytes.begin() + kScenePlainPrefix);
  for (std::size_t i = kScenePlainPrefix; i < length; i += 2) {
    const std::uint8_t high = nibble[fileBytes[i]];
    // The second byte of a last, incomplete pair is missing: like a byte
    // outside the table it gives 15.
    const std::uint8_t low = i + 1 < length ? nibble[fileBytes[i + 1]] : std::uint8_t{15};
    image.push_back(static_cast<std::uint8_t>((high << 4) | low));
  }

  if (image.size() < kSceneHeaderEnd) {
    return decoded;
  }
  SceneHeader& header = decoded.header;
  header.dataOffset = GetU32(image, kOffsetDataOffset);
  header.paramCount = GetU32(image, kOffsetParamCount);
  header.fileDeviceType = GetU32(image, kOffsetDeviceType);
  header.reservedA = GetU32(image, kOffsetReservedA);
  header.lockFlag = image[kOffsetLockFlag];
  header.reservedB = GetU32(image, kOffsetReservedB);
  std::array<std::uint16_t, 6> timeFields{};
  for (std::size_t k = 0; k < timeFields.size(); ++k) {
    timeFields[k] = static_cast<std::uint16_t>(GetU32(image, kOffsetTime + kTimeStride * k));
  }
  header.time = SceneTime{timeFields[0], timeFields[1], timeFields[2],
                          timeFields[3], timeFields[4], timeFields[5]};
  decoded.headerRead = true;

  // 64-bit arithmetic: a damaged header cannot wrap around.
  const std::uint64_t valuesEnd =
      std::uint64_t{header.dataOffset} + 2 * std::uint64_t{header.paramCount};
  if (valuesEnd + 4 > image.size()) {
    return decoded;  // offsets or counts beyond the data: unreadable
  }
  const std::size_t end = static_cast<std::size_t>(valuesEnd);
  const std::uint16_t crc = Crc16(std::span<const std::uint8_t>(image.data(), end));
  if (GetU32(image, end) != crc) {
    return decoded;
  }
  decoded.values.resize(header.paramCount);
  for (std::size_t i = 0; i < header.paramCount; ++i) {
    const std::size_t at = header.dataOffset + 2 * i;
    decoded.values[i] = static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
  }
  decoded.result = SceneFileResult::kOk;
  return decoded;
}

std::vector<SceneListEntry> ListSceneFiles(const std::filesystem::path& currentFolder,
                                           const AppFolders& folders,
                                           std::string_view extension) {
  std::vector<SceneListEntry> entries;
  const auto listFolder = [&](const std::filesystem::path& folder) {
    if (folder.empty()) {
      return;
    }
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    std::vector<std::string> names;
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
      const std::string name = it->path().filename().string();
      std::error_code statusError;
      if (name.ends_with(extension) && it->is_regular_file(statusError)) {
        names.push_back(name);
      }
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) {
      entries.push_back(SceneListEntry{static_cast<int>(entries.size()) + 1, std::move(name), folder});
    }
  };
  listFolder(currentFolder);
  listFolder(folders.sceneDirectory);
  std::error_code error;
  if (std::filesystem::is_directory(folders.fallbackDirectory, error)) {
    listFolder(folders.fallbackDirectory);
  }
  entries.push_back(SceneListEntry{static_cast<int>(entries.size()) + 1, {}, {}});
  return entries;
}

CZB_FileData::CZB_FileData(AppFolders folders)
    : saveTime(LocalSceneTime()), randomByte(DefaultRandomBytes()), folders_(std::move(folders)) {}

CZB_FileData::CZB_FileData(AppFolders folders, std::uint64_t seed)
    : saveTime(LocalSceneTime()), randomByte(SeededRandomBytes(seed)), folders_(std::move(folders)) {}

std::string CZB_FileData::WithExtension(std::string_view name) const {
  std::string result(name);
  if (result.find(extension) == std::string::npos) {
    result += extension;
  }
  return result;
}

SceneFileResult CZB_FileData::WriteSceneFile(
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
      EncodeSceneFile(sceneValues, fileDeviceType, saveTime,
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

SceneFileResult CZB_FileData::ReadSceneFile(std::string_view path) {
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
    dataOffset = decoded.header.dataOffset;
    paramCount = decoded.header.paramCount;
    fileDeviceType = decoded.header.fileDeviceType;
    reservedA = decoded.header.reservedA;
    lockFlag = decoded.header.lockFlag;
    reservedB = decoded.header.reservedB;
    fileTime = decoded.header.time;
  }
  if (decoded.result == SceneFileResult::kOk) {
    values = decoded.values;
  }
  return decoded.result;
}

SceneFileResult CZB_FileData::SaveSceneFile(
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
      // An older file of that name is replaced here too: the fallback is the
      // usual scene folder (the executable's folder is rarely writable), and
      // a second save of the same name must not fail with "exists".
      DeleteSceneFile(savedPath);
      result = WriteSceneFile(savedPath, sceneValues);
    }
  }
  return result;
}

SceneFileResult CZB_FileData::LoadSceneFile(std::string_view name) {
  SceneFileResult result = ReadSceneFile(name);
  if (result != SceneFileResult::kCannotOpen || IsAbsoluteName(name)) {
    return result;
  }
  const std::string file = WithExtension(name);
  for (const std::filesystem::path* folder : {&folders_.sceneDirectory, &folders_.fallbackDirectory}) {
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

SceneFileResult CZB_FileData::DeleteSceneFile(std::string_view name) {
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

bool CZB_FileData::SceneFileExists(std::string_view name) const {
  if (name.empty()) {
    return false;
  }
  const std::string withExtension = WithExtension(name);
  return PathExists(withExtension) ||
         PathExists(JoinFolder(folders_.fallbackDirectory, withExtension));
}

std::vector<SceneListEntry> CZB_FileData::ListSceneFiles() const {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return rmt4::ListSceneFiles(error ? std::filesystem::path() : current, folders_, extension);
}

}  // namespace rmt4
