#include "values/scene_scope.h"

#include <algorithm>

#include "values/param_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

bool AnyCovers(std::span<const std::string> patterns, std::string_view name) {
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::string& pattern) { return NameMatches(pattern, name); });
}

bool InScope(const SceneScope& scope, std::string_view name) {
  return (scope.only.empty() || AnyCovers(scope.only, name)) && !AnyCovers(scope.except, name);
}

/// The bits of `address` whose things the upload writes.
std::uint16_t WrittenBits(ParamAddress address, const SceneScope& scope, std::span<const std::string> safes) {
  const auto written = [&](std::string_view name) { return InScope(scope, name) && !AnyCovers(safes, name); };
  std::uint16_t covered = 0;
  std::uint16_t bits = 0;
  for (const BitParam* named : BitParamsAt(address)) {
    covered |= named->mask;
    if (written(named->name)) bits |= named->mask;
  }
  if (written(ParamAt(address).name)) bits |= static_cast<std::uint16_t>(~covered);
  return bits;
}

}  // namespace

SceneGroup GroupOf(const SceneChange& change) {
  const ParamInfo& info = ParamAt(change.address);
  return {info.channel, info.section};
}

std::string GroupKey(const SceneGroup& group) { return group.channel + "." + std::string(SectionName(group.section)); }

std::optional<SceneGroup> GroupFromKey(std::string_view key) {
  const std::size_t dot = key.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view channel = key.substr(0, dot);
  const bool known = std::any_of(ParamCatalogue().begin(), ParamCatalogue().end(),
                                 [&](const ParamInfo& info) { return info.channel == channel; });
  if (!known) return std::nullopt;
  for (auto section = static_cast<int>(ParamSection::kStrip); section <= static_cast<int>(ParamSection::kOther); ++section) {
    const auto named = static_cast<ParamSection>(section);
    if (SectionName(named) == key.substr(dot + 1)) return SceneGroup{std::string(channel), named};
  }
  return std::nullopt;
}

SceneScope ScopeWithout(std::span<const SceneGroup> leftOut) {
  SceneScope scope;
  for (const ParamInfo& info : ParamCatalogue()) {
    if (std::find(leftOut.begin(), leftOut.end(), SceneGroup{info.channel, info.section}) == leftOut.end()) continue;
    scope.except.push_back(info.name);
    for (const BitParam* bits : BitParamsAt(info.address)) scope.except.push_back(bits->name);
  }
  return scope;
}

int ScenePlan::WrittenChanges() const {
  return static_cast<int>(std::count_if(changes.begin(), changes.end(), [](const PlannedChange& c) { return c.Written(); }));
}

bool PatternNamesAny(std::string_view pattern) {
  return !MatchParams(pattern).empty() || !MatchBitParams(pattern).empty();
}

ScenePlan PlanSceneUpload(SceneWords console, std::span<const std::uint16_t> file, const SceneScope& scope,
                          std::span<const std::string> safes) {
  ScenePlan plan;
  const auto scene = UploadedWords(console, file);
  for (SceneChange& change : SceneChanges(console, scene)) {
    const bool inScope = InScope(scope, change.name);
    const bool safe = AnyCovers(safes, change.name);
    plan.changes.push_back({std::move(change), inScope, safe});
  }
  // Only the words the file sets: the others are the mirror's, perhaps stale.
  const std::size_t set = std::min(file.empty() ? 0 : file.size() - 1, std::size_t{kParamCount});
  for (ParamAddress a = 0; a < set; ++a) {
    if (!IsSceneSetting(a)) continue;
    if (const std::uint16_t bits = WrittenBits(a, scope, safes); bits != 0) plan.edits.push_back({a, scene[a], bits});
  }
  return plan;
}

std::vector<SceneChange> UnconfirmedChanges(std::span<const RequestedEdit> written, SceneWords console) {
  std::vector<std::uint16_t> wanted(console.begin(), console.end());
  for (const RequestedEdit& edit : written) wanted[edit.address] = ReplaceOwnBits(console[edit.address], edit.value, edit.own);
  return SceneChanges(console, SceneWords(wanted.data(), kParamCount));
}

}  // namespace rmt4
