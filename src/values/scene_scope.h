#pragma once

// Which of a scene's values an upload writes: a scope (name patterns the
// user chose, and patterns left out) and the safes, patterns no upload ever
// writes. A pattern covers a thing by its name: "ch1.mute" is the mute
// alone, "ch1.48v" the phantom power in the same word, "ch1.*" both.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "values/own_bits.h"
#include "values/param_catalogue.h"
#include "values/scene_changes.h"

namespace rmt4 {

struct SceneScope {
  std::vector<std::string> only;    ///< empty: everything
  std::vector<std::string> except;  ///< left out even where `only` takes it
};

/// One section of one channel ("ch3" and its EQ): what a user takes into an
/// upload or leaves out as one. Words without a name have no channel.
struct SceneGroup {
  std::string channel;
  ParamSection section = ParamSection::kOther;
  friend auto operator<=>(const SceneGroup&, const SceneGroup&) = default;
};

/// The group of the word `change` concerns.
[[nodiscard]] SceneGroup GroupOf(const SceneChange& change);

/// "ch3.eq", ".other" for the unnamed words: a group in one word, as the settings keep it.
[[nodiscard]] std::string GroupKey(const SceneGroup& group);
/// The group a key names; none for a text no group has.
[[nodiscard]] std::optional<SceneGroup> GroupFromKey(std::string_view key);

/// Everything but `leftOut`: each group becomes the exact names of its words
/// and bits in `except`, so no bit of it is written, changed or not.
[[nodiscard]] SceneScope ScopeWithout(std::span<const SceneGroup> leftOut);

struct PlannedChange {
  SceneChange change;
  bool inScope = true;
  bool safe = false;
  [[nodiscard]] bool Written() const { return inScope && !safe; }
  friend bool operator==(const PlannedChange&, const PlannedChange&) = default;
};

struct ScenePlan {
  /// Every change the scene makes to the console, marked in scope or not, safe or not.
  std::vector<PlannedChange> changes;
  /// What the upload writes: every word of the scene with the bits of the
  /// things in scope and not safe, changed or not, so that a console moved
  /// since the mirror last heard of it still ends as the scene has it.
  std::vector<RequestedEdit> edits;
  [[nodiscard]] int WrittenChanges() const;
};

/// Whether `pattern` names any parameter or bit name (a typo names none).
[[nodiscard]] bool PatternNamesAny(std::string_view pattern);

/// The upload of a scene file's values (see UploadedWords) to the console.
[[nodiscard]] ScenePlan PlanSceneUpload(SceneWords console, std::span<const std::uint16_t> file,
                                        const SceneScope& scope, std::span<const std::string> safes);

/// The things of `written` the console does not hold (console value → the
/// written one): refused or never confirmed.
[[nodiscard]] std::vector<SceneChange> UnconfirmedChanges(std::span<const RequestedEdit> written, SceneWords console);

}  // namespace rmt4
