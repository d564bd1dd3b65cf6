// rmt4ctl: a headless client of the program's own link layer, for scripts,
// automation and diagnosis.
#include <csignal>
#include <iostream>
#include <thread>

#include "cli/ctl_commands.h"
#include "cli/ctl_names.h"
#include "cli/ctl_scene_diff.h"
#include "cli/ctl_options.h"
#include "cli/ctl_owner.h"
#include "files/settings_store.h"
#include "i18n/label_text.h"
#include "i18n/language.h"
#include "i18n/language_choice.h"
#include "platform/app_folders.h"
#include "platform/system_locale.h"
#include "link/link_configuration.h"
#include "link/link_worker.h"
#include "platform/ipv4_address.h"
#include "protocol/module_configuration.h"
#include "transport/transport_factory.h"

namespace {

using namespace rmt4;
using namespace rmt4::ctl;

extern "C" void OnInterrupt(int) { RequestInterrupt(); }

std::string TransportName(ConnectionKind kind) {
  switch (kind) {
    case kUsbHid:
      return "USB";
    case kNetwork:
      return "network";
    default:
      return "serial";
  }
}

int Run(const CtlOptions& options, const ResolvedCommand& resolved) {
  const AppFolders folders = CurrentAppFolders();
  LinkConfiguration configuration = ReadLinkConfiguration(folders);
  if (options.connectionKind) configuration.connectionKind = *options.connectionKind;

  TransportChoice choice;
  std::optional<std::uint32_t> preferredConsole;
  if (!options.target.empty()) {
    if (configuration.connectionKind == kNetwork) {
      preferredConsole = ParseIpv4(options.target);
      if (!preferredConsole) {
        std::cerr << "rmt4ctl: --net needs an IPv4 address, not '" << options.target << "'" << std::endl;
        return kExitUsage;
      }
      choice.onlyConsole = preferredConsole;
      choice.connectDirectly = true;
    } else {
      choice.serialDevice = options.target;
    }
  }

  CtlOwner owner(options.answerYes, options.verbose, preferredConsole);
  LinkWorker::Options linkOptions;
  linkOptions.makeTransport = MakeTransportFactory(choice);
  linkOptions.readConfiguration = [configuration] { return configuration; };
  linkOptions.sceneFolders = folders;
  linkOptions.tracePath = options.tracePath;
  // A named console is reached at once, and get and set read only what they name.
  linkOptions.skipSettlePauses = preferredConsole.has_value();
  if (const auto named = AddressesToRead(resolved.words)) linkOptions.readOnly = WithReadingDependencies(*named);
  LinkWorker worker(owner, std::move(linkOptions));

  const auto started = std::chrono::steady_clock::now();
  worker.StartLink();
  const auto deadline = started + std::chrono::duration<double>(options.timeoutSeconds);
  while (worker.SyncCount() == 0) {
    if (Interrupted()) return kExitFailed;
    if (std::chrono::steady_clock::now() > deadline) {
      if (const auto busyWith = owner.BusyWith()) {
        std::cerr << "rmt4ctl: " << LabelText(LabelId::ConsoleBusy) << " (" << FormatIpv4(*busyWith) << ")" << std::endl;
      } else {
        std::cerr << "rmt4ctl: no console answered over " << TransportName(configuration.connectionKind) << " within "
                  << options.timeoutSeconds << " s" << std::endl;
      }
      return kExitNoConsole;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  CtlSession session{worker, owner, options.timeoutSeconds, options.answerYes,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                     resolved.named, resolved.watched, resolved.ownBits, resolved.readAs, options.fadeSeconds,
                     TransportName(configuration.connectionKind) + (options.target.empty() ? "" : " " + options.target),
                     options.scope, options.dryRun};
  const int exitCode = RunCommand(session, resolved.words);
  worker.StopLink();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    (parsed.exitCode == kExitOk ? std::cout : std::cerr) << parsed.message << std::endl;
    return parsed.exitCode;
  }
  const CtlOptions& options = *parsed.options;
  // Refusals the window words too are said in the interface language.
  (void)SetCurrentLanguage(ChooseLanguage(
      SettingsStore(CurrentAppFolders()).ReadSettingInt(kLanguageSettingsFile, kLanguageKey), SystemLocaleId()));
  // Names and values are checked before anything connects: a refused word sends nothing.
  const ResolvedCommand resolved = ResolveNames(options.command, options.raw);
  std::string problem = resolved.error.empty() ? ValidateCommand(resolved.words) : resolved.error;
  if (problem.empty() && options.fadeSeconds) problem = ValidateFade(resolved.words);
  if (!problem.empty()) {
    std::cerr << "rmt4ctl: " << problem << "\nTry 'rmt4ctl --help'." << std::endl;
    return kExitUsage;
  }
  if (IsOfflineCommand(resolved.words)) return RunOfflineCommand(resolved.words);
  if (IsSceneConsoleDiff(resolved.words) && !ReadSceneValues(resolved.words[2])) return kExitFileError;
  if (IsUnreadableSceneUpload(resolved.words)) return kExitFileError;

  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  return Run(options, resolved);
}
