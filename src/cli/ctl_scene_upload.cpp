#include "cli/ctl_scene_upload.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli/ctl_options.h"

namespace rmt4::ctl {

void ReportKeptSafes(const ScenePlan& plan) {
  for (const PlannedChange& planned : plan.changes) {
    if (planned.inScope && planned.safe) std::cerr << "rmt4ctl: kept, safe: " << SceneChangeLine(planned.change) << std::endl;
  }
}

int PrintPlannedChanges(const ScenePlan& plan) {
  for (const PlannedChange& planned : plan.changes) {
    if (planned.Written()) std::printf("%s\n", SceneChangeLine(planned.change).c_str());
  }
  return plan.WrittenChanges() == 0 ? kExitOk : kExitFailed;
}

int ReportUploadOutcome(const ScenePlan& plan, const std::optional<SceneUploadOutcome>& outcome) {
  if (!outcome) {
    std::cerr << "rmt4ctl: the console's values could not be read back after the upload" << std::endl;
    return kExitFailed;
  }
  const auto unconfirmed = [&](const SceneChange& change) {
    return std::any_of(outcome->unconfirmed.begin(), outcome->unconfirmed.end(),
                       [&](const SceneChange& missing) { return missing.name == change.name; });
  };
  for (const PlannedChange& planned : plan.changes) {
    if (planned.Written() && !unconfirmed(planned.change)) std::printf("%s\n", SceneChangeLine(planned.change).c_str());
  }
  for (const SceneChange& missing : outcome->unconfirmed) {
    std::cerr << "rmt4ctl: not confirmed: " << SceneChangeLine(missing) << std::endl;
  }
  return outcome->unconfirmed.empty() ? kExitOk : kExitFailed;
}

}  // namespace rmt4::ctl
