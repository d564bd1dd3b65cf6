// link_faults: the link layer under faults, against rmt4-console on loopback.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "fault_runs.h"

namespace {

constexpr const char* kUsage =
    "Usage: link_faults [--seed N] pulls COUNT --net|--serial\n"
    "       link_faults [--seed N] lossy COUNT\n"
    "       link_faults [--seed N] stops COUNT\n"
    "       link_faults [--seed N] soak MINUTES\n";

std::optional<unsigned> ParseCount(std::string_view text) {
  unsigned number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return number;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace rmt4::faults;
  std::vector<std::string_view> words(argv + 1, argv + argc);
  unsigned seed = 1;
  if (words.size() >= 2 && words[0] == "--seed") {
    const auto parsed = ParseCount(words[1]);
    if (!parsed) {
      std::cerr << kUsage;
      return 2;
    }
    seed = *parsed;
    words.erase(words.begin(), words.begin() + 2);
  }
  const auto count = words.size() >= 2 ? ParseCount(words[1]) : std::nullopt;
  if (!count || *count == 0) {
    std::cerr << kUsage;
    return 2;
  }
  // A failing run repeats with the same seed.
  std::printf("link_faults: seed %u\n", seed);
  Random random(seed);
  const int n = static_cast<int>(*count);
  if (words[0] == "pulls" && words.size() == 3 && (words[2] == "--net" || words[2] == "--serial")) {
    return RunPulls(n, words[2] == "--serial", random);
  }
  if (words[0] == "lossy" && words.size() == 2) return RunLossy(n, random);
  if (words[0] == "stops" && words.size() == 2) return RunStops(n, random);
  if (words[0] == "soak" && words.size() == 2) return RunSoak(n, random);
  std::cerr << kUsage;
  return 2;
}
