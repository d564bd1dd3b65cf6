#pragma once

// The byte format of scene files ".mxb", the console's interchange format: a
// plain image of header and parameter values with a CRC, of which everything
// after the first 256 bytes is written as two characters of a per-file code
// table. Pure functions on bytes; SceneFile adds files and folders.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

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

}  // namespace rmt4
