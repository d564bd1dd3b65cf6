#pragma once

#include <stdlib.h>

#include <filesystem>
#include <ostream>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "files/scene_codec.h"

namespace rmt4 {

// Result codes print as their numbers in test failures.
inline void PrintTo(SceneFileResult result, std::ostream* out) {
  *out << static_cast<int>(result);
}

}  // namespace rmt4

namespace rmt4::testing {

/// A fresh folder under the temporary-files folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rmt4-files-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace rmt4::testing
