// The scene-file codec: the byte layout we write, and reading files that other
// writers of the format produce.
#include "files/scene_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace rmt4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t BitwiseCrc(const Bytes& bytes, std::size_t count) {
  std::uint16_t crc = 0xFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
  }
  return crc;
}

std::uint32_t U32(const Bytes& image, std::size_t at) {
  return image[at] | (image[at + 1] << 8) | (image[at + 2] << 16) | (std::uint32_t{image[at + 3]} << 24);
}

void PutU32(Bytes& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

/// The plain image of a file, decoded the slow way the format describes it.
Bytes ReferenceImage(const Bytes& file) {
  Bytes image(file.begin(), file.begin() + 256);
  const Bytes table(file.begin() + 20, file.begin() + 36);
  const auto nibble = [&](std::uint8_t byte) {
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (table[i] == byte) {
        return static_cast<int>(i);
      }
    }
    return 15;
  };
  for (std::size_t i = 256; i + 1 < file.size(); i += 2) {
    image.push_back(static_cast<std::uint8_t>(nibble(file[i]) * 16 + nibble(file[i + 1])));
  }
  return image;
}

std::vector<std::uint16_t> SampleValues(unsigned seed, std::size_t count = kSceneParamCount) {
  std::mt19937 engine(seed);
  std::vector<std::uint16_t> values(count);
  for (auto& value : values) {
    value = static_cast<std::uint16_t>(engine());
  }
  values.front() = 0;
  values.back() = 0xFFFF;
  return values;
}

const SceneTime kTime{2026, 12, 9, 17, 45, 3};

/// A writer of the format other than ours: the caller chooses the code
/// table, the header fields and the filler.
struct ForeignScene {
  std::array<std::uint8_t, 20> table{};
  std::uint32_t dataOffset = 512;
  std::vector<std::uint16_t> values;
  std::uint32_t deviceType = kSupportedDeviceType;
  std::uint8_t lockFlag = 0;
  std::uint8_t filler = 0;
  std::uint8_t byteForNibble15 = 0;  // 0: the table's own byte
  std::size_t trailingBytes = 0;

  Bytes Encode() const {
    const std::size_t end = dataOffset + 2 * values.size();
    Bytes image(end + 4, filler);
    std::copy(table.begin(), table.end(), image.begin() + 20);
    PutU32(image, 256, dataOffset);
    PutU32(image, 266, static_cast<std::uint32_t>(values.size()));
    PutU32(image, 276, deviceType);
    PutU32(image, 286, 0xA1A2A3A4);
    image[296] = lockFlag;
    PutU32(image, 301, 0xB1B2B3B4);
    const std::uint32_t time[] = {2001, 2, 3, 4, 5, 6};
    for (std::size_t k = 0; k < 6; ++k) {
      PutU32(image, 306 + 5 * k, time[k]);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      image[dataOffset + 2 * i] = static_cast<std::uint8_t>(values[i]);
      image[dataOffset + 2 * i + 1] = static_cast<std::uint8_t>(values[i] >> 8);
    }
    PutU32(image, end, BitwiseCrc(image, end));
    Bytes file(image.begin(), image.begin() + 256);
    const auto code = [&](int nibble) {
      return nibble == 15 && byteForNibble15 != 0 ? byteForNibble15 : table[static_cast<std::size_t>(nibble)];
    };
    for (std::size_t i = 256; i < image.size(); ++i) {
      file.push_back(code(image[i] >> 4));
      file.push_back(code(image[i] & 15));
    }
    file.insert(file.end(), trailingBytes, table[0]);
    return file;
  }
};

std::array<std::uint8_t, 20> TableOf(const std::string& text) {
  std::array<std::uint8_t, 20> table{};
  std::copy(text.begin(), text.end(), table.begin());
  return table;
}

TEST(SceneFileFormat, WrittenFileFollowsTheLayout) {
  const auto values = SampleValues(1);
  const Bytes file = EncodeSceneFile(values, kSupportedDeviceType, kTime, SeededRandomBytes(7));
  ASSERT_EQ(file.size(), kSceneWrittenFileSize);
  for (std::size_t i = 256; i < file.size(); ++i) {  // only code table bytes after the clear part
    ASSERT_NE(std::find(file.begin() + 20, file.begin() + 36, file[i]), file.begin() + 36) << i;
  }
  const std::set<std::uint8_t> table(file.begin() + 20, file.begin() + 40);
  EXPECT_EQ(table.size(), 20u);  // 20 distinct bytes

  const Bytes image = ReferenceImage(file);
  ASSERT_EQ(image.size(), 3664u);
  EXPECT_EQ(U32(image, 256), 512u);
  EXPECT_EQ(Bytes(image.begin() + 266, image.begin() + 270), (Bytes{0x26, 0x06, 0x00, 0x00}));
  EXPECT_EQ(U32(image, 276), kSupportedDeviceType);
  EXPECT_EQ(U32(image, 286), 0u);
  EXPECT_EQ(image[296], 0u);
  EXPECT_EQ(U32(image, 301), 0u);
  const std::uint32_t time[] = {2026, 12, 9, 17, 45, 3};
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(U32(image, 306 + 5 * k), time[k]) << k;
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(image[512 + 2 * i] | (image[513 + 2 * i] << 8), values[i]) << i;
  }
  EXPECT_EQ(U32(image, 3660), BitwiseCrc(image, 3660));  // upper 16 bits 0
}

TEST(SceneFileFormat, EveryFileHasItsOwnTableAndFillerButTheSameValues) {
  const auto values = SampleValues(2);
  std::set<std::string> tables;  // strings: GCC 12 misjudges ordering of byte vectors
  std::set<std::string> files;
  for (std::uint64_t seed = 0; seed < 40; ++seed) {
    const Bytes file = EncodeSceneFile(values, 20024, kTime, SeededRandomBytes(seed));
    tables.emplace(file.begin() + 20, file.begin() + 40);
    files.emplace(file.begin(), file.end());
    const DecodedScene decoded = DecodeSceneFile(file);
    ASSERT_EQ(decoded.result, SceneFileResult::kOk) << seed;
    EXPECT_EQ(decoded.values, values);
    EXPECT_EQ(decoded.header.time, kTime);
    EXPECT_EQ(decoded.header.fileDeviceType, 20024u);
  }
  EXPECT_EQ(tables.size(), 40u);
  EXPECT_EQ(files.size(), 40u);
  // The same seed gives the same file: tests can rely on repeatable bytes.
  EXPECT_EQ(EncodeSceneFile(values, 20024, kTime, SeededRandomBytes(3)),
            EncodeSceneFile(values, 20024, kTime, SeededRandomBytes(3)));
}

TEST(SceneFileFormat, StuckRandomSourceStillGivesADistinctTable) {
  const auto values = SampleValues(3);
  for (std::uint8_t stuck : {std::uint8_t{0}, std::uint8_t{0xFF}}) {
    const Bytes file = EncodeSceneFile(values, 20024, kTime, [stuck] { return stuck; });
    EXPECT_EQ(std::set<std::uint8_t>(file.begin() + 20, file.begin() + 40).size(), 20u);
    const DecodedScene decoded = DecodeSceneFile(file);
    ASSERT_EQ(decoded.result, SceneFileResult::kOk);
    EXPECT_EQ(decoded.values, values);
  }
}

TEST(SceneFileFormat, ReadsFilesOfOtherWritersWithAnyCodeTable) {
  std::array<std::uint8_t, 20> reversed{};
  std::iota(reversed.rbegin(), reversed.rend(), std::uint8_t{0});
  std::array<std::uint8_t, 20> identity{};
  std::iota(identity.begin(), identity.end(), std::uint8_t{0});
  const std::array<std::uint8_t, 20> tables[] = {
      TableOf("ABCDEFGHIJKLMNOPQRST"), identity, reversed,
      TableOf("0123456789abcdefWXYZ"),
      // The last four bytes play no part in the encoding, repeated or not.
      TableOf("ABCDEFGHIJKLMNOPAAAA"),
  };
  for (const auto& table : tables) {
    ForeignScene scene;
    scene.table = table;
    scene.values = SampleValues(4);
    scene.filler = 0xEE;
    const DecodedScene decoded = DecodeSceneFile(scene.Encode());
    ASSERT_EQ(decoded.result, SceneFileResult::kOk) << table[0];
    EXPECT_EQ(decoded.values, scene.values);
  }
}

TEST(SceneFileFormat, RepeatedTableByteDecodesToItsFirstPosition) {
  // 'A' stands at positions 0 and 9. A writer that never needs nibble 9 can
  // use such a table; every 'A' then means 0, and a reader that took the
  // last match would decode garbage.
  const auto withoutNine = [](unsigned byte) {
    return (byte >> 4) != 9 && (byte & 15) != 9;
  };
  ForeignScene scene;
  scene.table = TableOf("ABCDEFGHIAKLMNOPQRST");
  scene.values = SampleValues(11);
  for (auto& value : scene.values) {
    for (int shift = 0; shift < 16; shift += 4) {
      if (((value >> shift) & 15) == 9) {
        value = static_cast<std::uint16_t>(value - (1 << shift));
      }
    }
  }
  bool found = false;
  for (unsigned filler = 0; filler < 256 && !found; ++filler) {
    if (!withoutNine(filler)) continue;
    scene.filler = static_cast<std::uint8_t>(filler);
    // Some filler gives a checksum without nibble 9 too; only then is the
    // file free of the repeated position and readable.
    const Bytes file = scene.Encode();
    const DecodedScene decoded = DecodeSceneFile(file);
    found = decoded.result == SceneFileResult::kOk;
    if (found) {
      EXPECT_NE(std::count(file.begin() + 256, file.end(), 'A'), 0);
      EXPECT_EQ(decoded.values, scene.values);
    }
  }
  EXPECT_TRUE(found);
}

TEST(SceneFileFormat, ReadsOtherHeaderShapesAndIgnoresTrailingBytes) {
  ForeignScene scene;
  scene.table = TableOf("qwertyuiopasdfghjklz");
  scene.dataOffset = 336;  // values right after the header
  scene.values = SampleValues(5, 10);
  scene.lockFlag = 1;
  scene.deviceType = 12345;
  scene.trailingBytes = 33;
  DecodedScene decoded = DecodeSceneFile(scene.Encode());
  ASSERT_EQ(decoded.result, SceneFileResult::kOk);
  EXPECT_EQ(decoded.values, scene.values);
  EXPECT_EQ(decoded.header.paramCount, 10u);
  EXPECT_EQ(decoded.header.dataOffset, 336u);
  EXPECT_EQ(decoded.header.lockFlag, 1u);
  EXPECT_EQ(decoded.header.fileDeviceType, 12345u);
  EXPECT_EQ(decoded.header.reservedA, 0xA1A2A3A4u);
  EXPECT_EQ(decoded.header.reservedB, 0xB1B2B3B4u);
  EXPECT_EQ(decoded.header.time, (SceneTime{2001, 2, 3, 4, 5, 6}));

  scene.dataOffset = 4000;  // a large header
  scene.values = SampleValues(6, 2000);
  decoded = DecodeSceneFile(scene.Encode());
  ASSERT_EQ(decoded.result, SceneFileResult::kOk);
  EXPECT_EQ(decoded.values, scene.values);

  scene.values.clear();  // no values at all is still a well-formed file
  decoded = DecodeSceneFile(scene.Encode());
  ASSERT_EQ(decoded.result, SceneFileResult::kOk);
  EXPECT_TRUE(decoded.values.empty());
}

TEST(SceneFileFormat, ByteOutsideTheTableMeansNibble15) {
  ForeignScene scene;
  scene.table = TableOf("ABCDEFGHIJKLMNOPQRST");
  scene.values = SampleValues(7);
  scene.byteForNibble15 = '!';  // not in the table
  const DecodedScene decoded = DecodeSceneFile(scene.Encode());
  ASSERT_EQ(decoded.result, SceneFileResult::kOk);
  EXPECT_EQ(decoded.values, scene.values);
}

TEST(SceneFileDamage, ChangedBytesFailTheChecksum) {
  const Bytes good = EncodeSceneFile(SampleValues(8), 20024, kTime, SeededRandomBytes(8));
  // Every byte before 256 counts, the code table and the filler included.
  for (std::size_t at : {std::size_t{0}, std::size_t{19}, std::size_t{25}, std::size_t{38},
                         std::size_t{100}, std::size_t{255}}) {
    Bytes file = good;
    file[at] ^= 0x01;
    EXPECT_EQ(DecodeSceneFile(file).result, SceneFileResult::kUnreadable) << at;
  }
  // An encoded character replaced by another one of the table.
  for (std::size_t at : {std::size_t{256}, std::size_t{600}, std::size_t{1500}, std::size_t{7000},
                         std::size_t{7071}}) {
    Bytes file = good;
    file[at] = file[at] == good[20] ? good[21] : good[20];
    EXPECT_EQ(DecodeSceneFile(file).result, SceneFileResult::kUnreadable) << at;
  }
}

TEST(SceneFileDamage, ShortOrInconsistentFilesAreUnreadableWithoutOverreading) {
  const Bytes good = EncodeSceneFile(SampleValues(9), 20024, kTime, SeededRandomBytes(9));
  // Cut anywhere: the copy is exactly as long as the cut, so AddressSanitizer
  // sees any read beyond it.
  for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{35}, std::size_t{255},
                             std::size_t{256}, std::size_t{257}, std::size_t{670}, std::size_t{671},
                             std::size_t{672}, std::size_t{1000}, std::size_t{7064},
                             std::size_t{7070}, std::size_t{7071}}) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    const DecodedScene decoded = DecodeSceneFile(cut);
    EXPECT_EQ(decoded.result, SceneFileResult::kUnreadable) << length;
    EXPECT_EQ(decoded.headerRead, length >= 256 + 2 * 80) << length;
    EXPECT_TRUE(decoded.values.empty());
  }

  // Header fields that point beyond the data, including ones that would wrap
  // 32-bit arithmetic.
  const std::pair<std::uint32_t, std::uint32_t> shapes[] = {
      {512, 1575}, {3700, 0}, {0xFFFFFFFF, 1574}, {512, 0x80000000}, {0xFFFFFFF0, 0x7FFFFFFF}};
  for (const auto& [offset, count] : shapes) {
    Bytes image = ReferenceImage(good);
    PutU32(image, 256, offset);
    PutU32(image, 266, count);
    Bytes file(image.begin(), image.begin() + 256);
    for (std::size_t i = 256; i < image.size(); ++i) {
      file.push_back(good[20 + (image[i] >> 4)]);
      file.push_back(good[20 + (image[i] & 15)]);
    }
    const DecodedScene decoded = DecodeSceneFile(file);
    EXPECT_EQ(decoded.result, SceneFileResult::kUnreadable) << offset << " " << count;
    EXPECT_EQ(decoded.header.dataOffset, offset);
    EXPECT_EQ(decoded.header.paramCount, count);
  }
}

TEST(SceneFileDamage, RandomMutationsNeverReadAsAnotherScene) {
  const auto values = SampleValues(10);
  const Bytes good = EncodeSceneFile(values, 20024, kTime, SeededRandomBytes(10));
  std::mt19937 engine(10);
  int accepted = 0;
  for (int round = 0; round < 2000; ++round) {
    Bytes file = good;
    const int changes = 1 + static_cast<int>(engine() % 4);
    for (int c = 0; c < changes; ++c) {
      file[engine() % file.size()] = static_cast<std::uint8_t>(engine());
    }
    if (engine() % 4 == 0) {
      file.resize(engine() % file.size());
    }
    const DecodedScene decoded = DecodeSceneFile(file);
    if (decoded.result == SceneFileResult::kOk) {
      ++accepted;  // only a change that decodes to the same image may pass
      EXPECT_EQ(decoded.values, values);
    }
  }
  EXPECT_LT(accepted, 2000);
}

}  // namespace
}  // namespace rmt4
