#pragma once

// What `scene upload` tells the user: each change in the `scene diff` form,
// those a safe kept back, and those the console did not confirm.

#include "link/link_jobs.h"
#include "values/scene_scope.h"

namespace rmt4::ctl {

/// "kept, safe: LINE" on standard error for each change a safe leaves out.
void ReportKeptSafes(const ScenePlan& plan);

/// --dry-run: the changes the upload would write; exit 0 none, 1 some.
[[nodiscard]] int PrintPlannedChanges(const ScenePlan& plan);

/// After the upload: the planned changes the console holds on standard
/// output, "not confirmed: LINE" on standard error for the others; exit 0
/// when all were confirmed, 1 when one was not or nothing was read back.
[[nodiscard]] int ReportUploadOutcome(const ScenePlan& plan, const std::optional<SceneUploadOutcome>& outcome);

}  // namespace rmt4::ctl
