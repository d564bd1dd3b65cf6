#include "cli/ctl_safes.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli/ctl_options.h"
#include "files/scene_safes.h"
#include "platform/app_folders.h"
#include "values/param_catalogue.h"
#include "values/scene_scope.h"
#include "values/typed_text.h"

namespace rmt4::ctl {
namespace {

std::string ListText(const std::vector<std::string>& safes) {
  std::string text;
  for (const std::string& pattern : safes) text += (text.empty() ? "" : " ") + pattern;
  return text.empty() ? "none" : text;
}

}  // namespace

bool IsSafeCommand(const std::vector<std::string>& command) { return !command.empty() && command[0] == "safe"; }

std::string ValidateSafeCommand(const std::vector<std::string>& command) {
  if (command.size() == 2 && command[1] == "list") return {};
  if (command.size() == 3 && command[1] == "remove") return {};
  if (command.size() == 3 && command[1] == "add") {
    return PatternNamesAny(command[2]) ? "" : UnknownParamText(command[2]);
  }
  return "safe takes list, add PATTERN or remove PATTERN";
}

int RunSafeCommand(const std::vector<std::string>& command) {
  const SettingsStore store(CurrentAppFolders());
  std::vector<std::string> safes = ReadSceneSafes(store);
  if (command[1] == "list") {
    for (const std::string& pattern : safes) std::printf("%s\n", pattern.c_str());
    if (safes.empty()) std::cerr << "rmt4ctl: no safes: a scene upload writes everything in its scope" << std::endl;
    return kExitOk;
  }
  const std::string& pattern = command[2];
  const auto found = std::find_if(safes.begin(), safes.end(),
                                  [&](const std::string& safe) { return EqualsIgnoringCase(safe, pattern); });
  if (command[1] == "add") {
    if (found != safes.end()) {
      std::cerr << "rmt4ctl: " << *found << " is safe already" << std::endl;
      return kExitOk;
    }
    safes.push_back(pattern);
  } else {
    if (found == safes.end()) {
      std::cerr << "rmt4ctl: " << pattern << " is not a safe; the safes are: " << ListText(safes) << std::endl;
      return kExitUsage;
    }
    safes.erase(found);
  }
  if (!WriteSceneSafes(store, safes)) {
    std::cerr << "rmt4ctl: the safes cannot be stored in " << store.folders().settingsDirectory().string() << std::endl;
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace rmt4::ctl
