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
