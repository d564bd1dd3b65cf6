// Profile reader and writer on arbitrary text: reading must not crash, and
// setting a key must read back that value while every other key reads as
// before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rmt4;
  if (size > kMaxProfileBytes) {
    return 0;  // never read whole
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Names and a value from the first bytes, so the fuzzer also steers them.
  const std::string section = size > 0 && (data[0] & 1) ? "rmt4" : "RMT4";
  const std::string key = size > 1 && (data[1] & 1) ? "Language" : "m_COM_MdoeIO";
  const std::string otherKey = key == "Language" ? "m_COM_MdoeIO" : "Language";
  const std::string value = std::to_string(size > 2 ? static_cast<int>(data[2]) - 100 : 7);

  const std::optional<int> before = ProfileGetInt(text, section, otherKey);
  const std::optional<int> otherSection = ProfileGetInt(text, "other", key);
  (void)ProfileGetString(text, section, key);

  const std::optional<std::string> written = ProfileSetString(text, section, key, value);
  if (!written) {
    return 0;  // only refused when the result would be too large
  }
  if (ProfileGetString(*written, "rmt4", key) != value ||
      ProfileGetInt(*written, section, otherKey) != before ||
      ProfileGetInt(*written, "other", key) != otherSection) {
    std::abort();
  }
  // Writing the same value again changes nothing.
  if (ProfileSetString(*written, section, key, value) != *written) {
    std::abort();
  }
  return 0;
}
