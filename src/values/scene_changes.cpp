#include "values/scene_changes.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "values/param_bits.h"
#include "values/own_bits.h"
#include "values/param_catalogue.h"
#include "values/param_display_name.h"

namespace rmt4 {
namespace {

// Channels in the order of the console's surface; the system words and the
// unnamed words come last.
constexpr std::string_view kChannelOrder[] = {"ch1",  "ch2",  "ch3",  "ch4",  "ch5",  "ch6",  "ch7",
                                              "ch8",  "st9",  "dig",  "fx1",  "fx2",  "main", "aux1",
                                              "aux2", "aux3", "aux4", "aux5", "aux6", "sys"};

std::string ChangeLine(std::string_view shownName, const SceneChange& change) {
  return std::string(shownName) + ": " + change.beforeText + " \u2192 " + change.afterText;
}

std::size_t ChannelRank(std::string_view channel) {
  const auto* found = std::find(std::begin(kChannelOrder), std::end(kChannelOrder), channel);
  return static_cast<std::size_t>(found - std::begin(kChannelOrder));
}

}  // namespace

bool IsSceneSetting(ParamAddress address) {
  return address < kParamCount && !IsReadOnlyWord(address) && address != 1201 && address != 1202 &&
         address != address::kCurrentMode && address != address::kModeOperation;
}

std::array<std::uint16_t, kParamCount> UploadedWords(SceneWords console, std::span<const std::uint16_t> file) {
  std::array<std::uint16_t, kParamCount> words{};
  std::copy(console.begin(), console.end(), words.begin());
  const std::size_t uploaded = std::min(file.empty() ? 0 : file.size() - 1, words.size());
  std::copy_n(file.begin(), uploaded, words.begin());
  return words;
}

std::vector<SceneChange> SceneChanges(SceneWords before, SceneWords after) {
  std::vector<ParamAddress> differing;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (IsSceneSetting(a) && before[a] != after[a]) differing.push_back(a);
  }
  std::stable_sort(differing.begin(), differing.end(), [](ParamAddress x, ParamAddress y) {
    return ChannelRank(ParamAt(x).channel) < ChannelRank(ParamAt(y).channel);
  });
  std::vector<SceneChange> changes;
  for (const ParamAddress a : differing) {
    // A word that packs things named apart differs per thing; the whole word
    // reads only where bits no such name covers differ (a send's level, a mute).
    const auto differs = static_cast<std::uint16_t>(before[a] ^ after[a]);
    std::uint16_t covered = 0;
    std::vector<SceneChange> bitChanges;
    for (const BitParam* bits : BitParamsAt(a)) {
      covered |= bits->mask;
      if ((differs & bits->mask) == 0) continue;
      bitChanges.push_back({bits->name, a, bits->mask, before[a], after[a], FormatBits(*bits, before[a]),
                            FormatBits(*bits, after[a])});
    }
    if ((differs & ~covered) != 0) {
      // The word reads with its named bits as they were: those change on lines of their own.
      const auto own = static_cast<std::uint16_t>(~covered);
      const std::uint16_t afterOwn = ReplaceOwnBits(before[a], after[a], own);
      std::string beforeText = FormatValue(a, before[a], [&](ParamAddress x) { return before[x]; });
      std::string afterText = FormatValue(a, afterOwn, [&](ParamAddress x) { return after[x]; });
      if (beforeText == afterText) {
        // Bits the reading does not show differ: the words tell the two sides apart.
        beforeText += " (raw " + std::to_string(before[a]) + ")";
        afterText += " (raw " + std::to_string(afterOwn) + ")";
      }
      changes.push_back({ParamAt(a).name, a, own, before[a], after[a], std::move(beforeText), std::move(afterText)});
    }
    changes.insert(changes.end(), bitChanges.begin(), bitChanges.end());
  }
  return changes;
}

std::string SceneChangeLine(const SceneChange& change) { return ChangeLine(change.name, change); }

std::string SceneChangeInWords(const SceneChange& change) { return ChangeLine(DisplayName(change.name), change); }

}  // namespace rmt4
