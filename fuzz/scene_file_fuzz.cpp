// Scene-file reader on arbitrary bytes: it must never read past the data,
// and a file it accepts must hold exactly the values its header announces.
// Accepted scenes are written again and must read back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "files/scene_codec.h"

namespace {

void CheckDecoded(const rmt4::DecodedScene& decoded) {
  if (decoded.result == rmt4::SceneFileResult::kOk
          ? (!decoded.headerRead || decoded.values.size() != decoded.header.paramCount)
          : !decoded.values.empty()) {
    std::abort();
  }
}

// Random bytes almost never pass the checksum, so the input also steers
// damage to a valid file: pairs of (position, xor) and a cut.
void FuzzDamagedValidFile(const std::uint8_t* data, std::size_t size) {
  using namespace rmt4;
  std::vector<std::uint16_t> values(std::min<std::size_t>(size / 2, 40));
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<std::uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  std::vector<std::uint8_t> file =
      EncodeSceneFile(values, kSupportedDeviceType, SceneTime{}, SeededRandomBytes(size));
  for (std::size_t i = 0; i + 3 <= size && i < 24; i += 3) {
    const std::size_t position = (data[i] | (data[i + 1] << 8)) % (file.size() + 1);
    if (position == file.size()) {
      file.resize(data[i + 2] * file.size() / 256);
    } else {
      file[position] ^= data[i + 2];
    }
  }
  CheckDecoded(DecodeSceneFile(file));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rmt4;
  if (size > kMaxSceneFileBytes) {
    return 0;  // the file reader refuses these from their size
  }
  FuzzDamagedValidFile(data, size);
  const DecodedScene decoded = DecodeSceneFile(std::span<const std::uint8_t>(data, size));
  CheckDecoded(decoded);
  if (decoded.result != SceneFileResult::kOk) {
    return 0;
  }
  const std::vector<std::uint8_t> again =
      EncodeSceneFile(decoded.values, decoded.header.fileDeviceType, decoded.header.time,
                      SeededRandomBytes(size));
  const DecodedScene reread = DecodeSceneFile(again);
  if (reread.result != SceneFileResult::kOk || reread.values != decoded.values ||
      reread.header.time != decoded.header.time) {
    std::abort();
  }
  return 0;
}
