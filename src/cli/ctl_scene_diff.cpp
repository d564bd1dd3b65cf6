#include "cli/ctl_scene_diff.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "cli/ctl_options.h"
#include "files/scene_file.h"
#include "platform/app_folders.h"
#include "values/param_bits.h"
#include "values/param_catalogue.h"

namespace rmt4::ctl {
namespace {

// Channels in the order of the console's surface; the system words and the
// unnamed words come last.
constexpr std::string_view kChannelOrder[] = {"ch1",  "ch2",  "ch3",  "ch4",  "ch5",  "ch6",  "ch7",
                                              "ch8",  "st9",  "dig",  "fx1",  "fx2",  "main", "aux1",
                                              "aux2", "aux3", "aux4", "aux5", "aux6", "sys"};

std::size_t ChannelRank(std::string_view channel) {
  const auto* found = std::find(std::begin(kChannelOrder), std::end(kChannelOrder), channel);
  return static_cast<std::size_t>(found - std::begin(kChannelOrder));
}

}  // namespace

std::vector<std::string> SceneDiffLines(std::span<const std::uint16_t, kParamCount> before,
                                        std::span<const std::uint16_t, kParamCount> after) {
  std::vector<ParamAddress> differing;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a != address::kLevelMeters && before[a] != after[a]) differing.push_back(a);
  }
  std::stable_sort(differing.begin(), differing.end(), [](ParamAddress x, ParamAddress y) {
    return ChannelRank(ParamAt(x).channel) < ChannelRank(ParamAt(y).channel);
  });
  std::vector<std::string> lines;
  for (const ParamAddress a : differing) {
    // A word that packs things named apart differs per thing; the whole word
    // reads only where bits no such name covers differ (a send's level, a mute).
    const auto changed = static_cast<std::uint16_t>(before[a] ^ after[a]);
    std::uint16_t covered = 0;
    std::vector<std::string> bitLines;
    for (const BitParam* bits : BitParamsAt(a)) {
      covered |= bits->mask;
      if ((changed & bits->mask) == 0) continue;
      bitLines.push_back(bits->name + ": " + FormatBits(*bits, before[a]) + " \u2192 " + FormatBits(*bits, after[a]));
    }
    if ((changed & ~covered) != 0) {
      // Each side reads in its own scene: an effect parameter by that scene's program type.
      lines.push_back(ParamAt(a).name + ": " + FormatValue(a, before[a], [&](ParamAddress x) { return before[x]; }) +
                      " \u2192 " + FormatValue(a, after[a], [&](ParamAddress x) { return after[x]; }));
    }
    lines.insert(lines.end(), bitLines.begin(), bitLines.end());
  }
  return lines;
}

std::optional<SceneValues> ReadSceneValues(const std::string& path) {
  SceneFile scene(CurrentAppFolders());
  const SceneFileResult result = scene.LoadSceneFile(path);
  if (result != SceneFileResult::kOk || scene.values.size() != kParamCount) {
    std::cerr << "rmt4ctl: " << path << ": cannot read the scene file (result " << static_cast<int>(result) << ")"
              << std::endl;
    return std::nullopt;
  }
  return scene.values;
}

int PrintSceneDiff(std::span<const std::uint16_t, kParamCount> before,
                   std::span<const std::uint16_t, kParamCount> after) {
  const std::vector<std::string> lines = SceneDiffLines(before, after);
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return lines.empty() ? kExitOk : kExitFailed;
}

bool IsSceneFilesDiff(const std::vector<std::string>& command) {
  return command.size() == 4 && command[0] == "scene" && command[1] == "diff";
}

bool IsSceneConsoleDiff(const std::vector<std::string>& command) {
  return command.size() == 3 && command[0] == "scene" && command[1] == "diff";
}

int RunSceneFilesDiff(const std::vector<std::string>& command) {
  const auto before = ReadSceneValues(command[2]);
  const auto after = ReadSceneValues(command[3]);
  if (!before || !after) return kExitFileError;
  return PrintSceneDiff(std::span<const std::uint16_t, kParamCount>(before->data(), kParamCount),
                        std::span<const std::uint16_t, kParamCount>(after->data(), kParamCount));
}

}  // namespace rmt4::ctl
