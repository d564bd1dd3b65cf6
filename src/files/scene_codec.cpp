#include "files/scene_codec.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <random>

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

}  // namespace rmt4
