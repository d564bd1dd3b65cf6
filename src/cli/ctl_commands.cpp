#include "cli/ctl_commands.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <thread>

#include "automation/fades.h"
#include "cli/ctl_history.h"
#include "cli/ctl_names.h"
#include "cli/ctl_safes.h"
#include "cli/ctl_scene_diff.h"
#include "cli/ctl_scene_upload.h"
#include "cli/ctl_serve.h"
#include "files/scene_file.h"
#include "files/scene_safes.h"
#include "history/change_log.h"
#include "history/change_log_line.h"
#include "history/edit_history.h"
#include "i18n/label_text.h"
#include "link/scene_upload.h"
#include "platform/app_folders.h"
#include "platform/ipv4_address.h"
#include "protocol/module_configuration.h"
#include "protocol/network_settings_check.h"
#include "transport/local_address.h"
#include "values/effect_program_values.h"
#include "values/own_bits.h"
#include "values/param_catalogue.h"
#include "values/scene_changes.h"
#include "values/typed_text.h"

namespace rmt4::ctl {
namespace {

std::atomic<bool> gInterrupted{false};
std::atomic<int> gInterruptWake{-1};

using Words = std::vector<std::string>;

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, Number maximum) {
  const std::optional<unsigned long> value = ParseWholeNumber(text, maximum);
  if (!value) return std::nullopt;
  return static_cast<Number>(*value);
}

std::optional<ParamAddress> ParseAddress(std::string_view text) {
  return ParseNumber<ParamAddress>(text, static_cast<ParamAddress>(kParamCount - 1));
}

struct Assignment {
  ParamAddress address;
  std::uint16_t value;
};

std::optional<Assignment> ParseAssignment(std::string_view text) {
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const auto address = ParseAddress(text.substr(0, equals));
  const auto value = ParseNumber<std::uint16_t>(text.substr(equals + 1), 0xFFFF);
  if (!address || !value) return std::nullopt;
  return Assignment{*address, *value};
}

std::optional<int> ParseRange(std::string_view text, int low, int high) {
  const auto value = ParseNumber<unsigned>(text, static_cast<unsigned>(high));
  if (!value || static_cast<int>(*value) < low) return std::nullopt;
  return static_cast<int>(*value);
}

/// Polls until `done` holds; false on time-out or interrupt.
template <typename Predicate>
bool WaitUntil(Predicate done, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (Interrupted() || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Jobs end by themselves (their waits are bounded), but one may wait for a
// reconnection first; this is how long a terminal waits for that.
double JobSeconds(const CtlSession& session) { return std::max(session.timeoutSeconds, 60.0); }

/// Waits until the worker has finished `count` jobs in all; false when it did not in time.
bool WaitForFinishedJobs(CtlSession& session, int count) {
  if (WaitUntil([&] { return session.worker.FinishedJobCount() >= count; }, JobSeconds(session))) return true;
  std::cerr << "rmt4ctl: the console did not finish the operation in time" << std::endl;
  return false;
}

/// Runs a job, returning false when it did not finish in time.
bool RunJob(CtlSession& session, LinkJob job) {
  const int before = session.worker.FinishedJobCount();
  session.worker.jobs().Request(job);
  return WaitForFinishedJobs(session, before + 1);
}

std::string ModeNameText(LinkWorker& worker, int mode) {
  const std::u16string name = worker.context().state.modeNames.Text(mode);
  std::string text;
  for (char16_t c : name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return text;
}

void PrintValue(const CtlSession& session, ParamAddress address, std::uint16_t value,
                const BitParam* bits = nullptr) {
  const ParamTable& params = session.worker.params();
  std::printf("%s\n",
              ParamLine(address, value, session.named, [&](ParamAddress a) { return params.Value(a); }, bits).c_str());
}

int Status(CtlSession& session) {
  LinkState& state = session.worker.context().state;
  const int mode = state.params.Value(address::kCurrentMode);
  const std::size_t valuesRead = session.owner.ArrivedCount();
  std::printf("device type: %u\n", unsigned{state.device.deviceType.load()});
  std::printf("current mode: %d \"%s\"%s\n", mode, ModeNameText(session.worker, mode).c_str(),
              state.device.currentModeLocked.load() ? " (locked)" : "");
  std::printf("values read: %zu of %zu\n", valuesRead, kParamCount);
  std::printf("connected after: %.2f s\n", session.owner.SecondsToConnected().value_or(session.secondsToSynced));
  std::printf("read complete after: %.2f s\n", session.owner.SecondsToReadComplete().value_or(session.secondsToSynced));
  return kExitOk;
}

/// Waits until the console's values for `addresses` have arrived (none is
/// marked for re-reading any more); reports those that did not.
bool WaitForValues(CtlSession& session, const std::vector<ParamAddress>& addresses) {
  ParamTable& params = session.worker.params();
  const auto pending = [&](ParamAddress a) { return params[a].rereadRequested.load(); };
  if (WaitUntil([&] { return std::none_of(addresses.begin(), addresses.end(), pending); }, session.timeoutSeconds)) {
    return true;
  }
  for (const ParamAddress a : addresses) {
    if (pending(a)) std::cerr << "rmt4ctl: address " << a << ": the console did not answer" << std::endl;
  }
  return false;
}

int Get(CtlSession& session, const Words& command) {
  const std::vector<ParamAddress> addresses = *AddressesToRead(command);
  // A value the console never sent is not printed as if it held it, nor read by one it never sent.
  if (!WaitForValues(session, WithReadingDependencies(addresses))) return kExitFailed;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const BitParam* bits = i < session.readAs.size() ? session.readAs[i] : nullptr;
    PrintValue(session, addresses[i], session.worker.params().Value(addresses[i]), bits);
  }
  return kExitOk;
}

int Dump(CtlSession& session) {
  for (ParamAddress a = 0; a < kParamCount; ++a) PrintValue(session, a, session.worker.params().Value(a));
  return kExitOk;
}

/// The typed assignments as edits: a word of packed switches only in the bits its value names.
std::vector<RequestedEdit> RequestedEdits(const CtlSession& session, const Words& command) {
  std::vector<RequestedEdit> edits;
  for (std::size_t i = 1; i < command.size(); ++i) {
    const Assignment a = *ParseAssignment(command[i]);
    const auto own = session.ownBits.find(a.address);
    edits.push_back({a.address, a.value, own == session.ownBits.end() ? kWholeWord : own->second});
  }
  return edits;
}

/// The words to expect back once `edits` are stored: each as the table holds
/// it, and the companion of one written in its own bits.
std::vector<Assignment> StoredWords(const ParamTable& params, const std::vector<RequestedEdit>& edits) {
  std::vector<Assignment> stored;
  for (const RequestedEdit& edit : edits) {
    const std::uint16_t word = params.Value(edit.address);
    stored.push_back({edit.address, word});
    const std::optional<ParamAddress> companion = ParamAt(edit.address).companion;
    if (companion && edit.own != kWholeWord) stored.push_back({*companion, word});
  }
  return stored;
}

/// The addresses of `edits` whose words are kept in part (they need the console's word first).
std::vector<ParamAddress> Addresses(const std::vector<RequestedEdit>& edits, bool packedOnly) {
  std::vector<ParamAddress> addresses;
  for (const RequestedEdit& edit : edits) {
    if (!packedOnly || edit.own != kWholeWord) addresses.push_back(edit.address);
  }
  return addresses;
}

/// The link's rate: a fade moves one step per tick.
constexpr auto kFadeTick = std::chrono::milliseconds(50);

/// Moves each edit's word from the console's value to the edit over the
/// session's fade time, one step per tick through the table. Returns the
/// edits that got there; one the console moved meanwhile stops and is said.
std::vector<RequestedEdit> Fade(CtlSession& session, const std::vector<RequestedEdit>& edits) {
  ParamTable& params = session.worker.params();
  const auto start = std::chrono::steady_clock::now();
  Fades fades;
  for (const RequestedEdit& edit : edits) {
    fades.Start(edit.address, params.Value(edit.address), edit, *session.fadeSeconds, 0);
  }
  const ValueAt valueAt = [&params](ParamAddress a) { return params.Value(a); };
  std::vector<ParamAddress> stopped;
  for (auto tick = start; !fades.Empty() && !Interrupted(); tick += kFadeTick) {
    std::this_thread::sleep_until(tick);
    const auto nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    StoreRequestedEdits(params, fades.Tick(nowMs.count(), valueAt));
    for (const ParamAddress a : fades.TakeOverridden()) {
      std::cerr << "rmt4ctl: the console moved " << ParamAt(a).name << ": fade stopped" << std::endl;
      stopped.push_back(a);
    }
  }
  if (!fades.Empty()) return {};
  std::vector<RequestedEdit> done;
  std::copy_if(edits.begin(), edits.end(), std::back_inserter(done), [&](const RequestedEdit& edit) {
    return std::find(stopped.begin(), stopped.end(), edit.address) == stopped.end();
  });
  return done;
}

int Set(CtlSession& session, const Words& command) {
  ParamTable& params = session.worker.params();
  std::vector<RequestedEdit> edits = RequestedEdits(session, command);
  // A word kept in part is changed from the console's; a fade starts from the console's value.
  if (!WaitForValues(session, Addresses(edits, !session.fadeSeconds))) return kExitFailed;
  const std::size_t typed = edits.size();
  // One step in the day's change log, as an edit in the window is.
  ChangeLog log(CtlChangeLogOptions(params));
  EditHistory history(params, &log);
  history.BeginStep();
  if (session.fadeSeconds) {
    edits = Fade(session, edits);
  } else {
    StoreRequestedEdits(params, edits);
  }
  history.EndStep();
  if (Interrupted()) return kExitFailed;
  const std::vector<Assignment> assignments = StoredWords(params, edits);

  auto settled = [&] {
    return std::none_of(assignments.begin(), assignments.end(), [&](const Assignment& a) {
      return params[a.address].Dirty();
    });
  };
  // An acknowledgement and giving up both end `dirty`: read the values back
  // to know which it was.
  const bool written = WaitUntil(settled, JobSeconds(session));
  for (const Assignment& a : assignments) params[a.address].rereadRequested.store(true);
  const bool readBack = written && WaitUntil([&] {
    return std::none_of(assignments.begin(), assignments.end(), [&](const Assignment& a) {
      return params[a.address].rereadRequested.load();
    });
  }, JobSeconds(session));

  int exitCode = edits.size() == typed ? kExitOk : kExitFailed;
  for (const Assignment& a : assignments) {
    const std::uint16_t held = params.Value(a.address);
    if (!readBack || held != a.value) {
      std::cerr << "rmt4ctl: address " << a.address << ": the console did not confirm " << a.value;
      if (readBack) std::cerr << " (it holds " << held << ")";
      std::cerr << std::endl;
      exitCode = kExitFailed;
    }
  }
  return exitCode;
}

int Watch(CtlSession& session, const Words& command) {
  const double seconds = command.size() > 1 ? *ParseNumber<unsigned>(command[1], 86400u * 365u) : 1e12;
  ParamTable& params = session.worker.params();
  std::mutex printing;
  std::array<std::uint16_t, kParamCount> last = MirrorWords(params);
  session.owner.SetValueListener([&](ParamAddress address) {
    if (address == address::kLevelMeters) return;  // changes twenty times a second
    const auto& watched = session.watched;
    if (!watched.empty() && std::find(watched.begin(), watched.end(), address) == watched.end()) return;
    std::lock_guard lock(printing);
    const std::uint16_t value = params.Value(address);
    if (value == last[address]) return;
    const auto changed = static_cast<std::uint16_t>(value ^ last[address]);
    last[address] = value;
    if (watched.empty()) PrintValue(session, address, value);
    // A bit name prints only when its own bits change.
    for (std::size_t i = 0; i < watched.size(); ++i) {
      const BitParam* bits = i < session.readAs.size() ? session.readAs[i] : nullptr;
      if (watched[i] == address && (!bits || (changed & bits->mask) != 0)) PrintValue(session, address, value, bits);
    }
    std::fflush(stdout);
  });
  WaitUntil([] { return false; }, seconds);
  session.owner.SetValueListener(nullptr);
  return kExitOk;
}

int Modes(CtlSession& session) {
  LinkState& state = session.worker.context().state;
  const int current = state.params.Value(address::kCurrentMode);
  const std::uint32_t locked = state.device.modeLockMask.load();
  for (int mode = 1; mode <= kModeCount; ++mode) {
    std::printf("%c%2d %s%s\n", mode == current ? '*' : ' ', mode, ModeNameText(session.worker, mode).c_str(),
                ((locked >> mode) & 1u) ? " (locked)" : "");
  }
  return kExitOk;
}

int ModeCommand(CtlSession& session, const Words& command) {
  LinkWorker& worker = session.worker;
  const int mode = *ParseRange(command[2], 1, kModeCount);
  const std::size_t since = session.owner.MessageCount();
  ParamEntry& operation = worker.params()[address::kModeOperation];
  if (command[1] == "recall") {
    operation.Edit(static_cast<std::uint16_t>(0x0600 | mode));
    if (!RunJob(session, LinkJob::RecallMode)) return kExitFailed;
    const bool recalled = !session.owner.Said({LabelId::InvocationFailed, LabelId::ReadDataFailed}, since) &&
                          worker.params().Value(address::kCurrentMode) == mode;
    return recalled ? kExitOk : kExitFailed;
  }
  // Rename: the name travels padded with spaces.
  ModeName name{};
  name.fill(u' ');
  const std::string& text = command[3];
  for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), kModeNameChars); ++i) {
    name[i] = static_cast<unsigned char>(text[i]);
  }
  worker.context().state.modeNames.SetBuffer(name);
  operation.Store(static_cast<std::uint16_t>(mode));
  if (!RunJob(session, LinkJob::StoreModeName)) return kExitFailed;
  return session.owner.Said({LabelId::SaveSuccessfully}, since) ? kExitOk : kExitFailed;
}

int FxCommand(CtlSession& session, const Words& command) {
  const bool recall = command[1] == "recall";
  const bool engineOne = command[2] == "1";
  const int program = *ParseRange(command[3], 1, kLastProgram);
  const ParamAddress programAddress = engineOne ? address::kFx1Program : address::kFx2Program;
  // The program number travels as the payload: stored, never written as a value.
  session.worker.params()[programAddress].Store(static_cast<std::uint16_t>(program));
  const std::size_t since = session.owner.MessageCount();
  const LinkJob job = recall ? (engineOne ? LinkJob::RecallFxPreset1 : LinkJob::RecallFxPreset2)
                             : (engineOne ? LinkJob::StoreFxPreset1 : LinkJob::StoreFxPreset2);
  if (!RunJob(session, job)) return kExitFailed;
  if (recall) return session.owner.Said({LabelId::InvocationFailed}, since) ? kExitFailed : kExitOk;
  return session.owner.Said({LabelId::SaveSuccessfully}, since) ? kExitOk : kExitFailed;
}

void ReportUnreadableScene(const std::string& path, SceneFileResult result) {
  const char* why = result == SceneFileResult::kUnreadable ? "damaged or not a scene file"
                                                            : "missing, not a file or not readable";
  std::cerr << "rmt4ctl: " << path << ": cannot read the scene file (" << why << ")" << std::endl;
}

/// Uploads the scene at `path` within the session's scope, never a safe.
int SceneUpload(CtlSession& session, const std::string& path) {
  const std::vector<std::string> safes = ReadSceneSafes(SettingsStore(CurrentAppFolders()));
  const std::optional<ScenePlan> plan =
      PlanSceneFileUpload(CurrentAppFolders(), path, session.worker.params(), session.scope, safes);
  if (!plan) {
    // It was readable before connecting: it went or changed since.
    ReportUnreadableScene(path, CheckSceneReadable(CurrentAppFolders(), path));
    return kExitFileError;
  }
  if (session.dryRun) {
    // What the upload would refuse is refused before any list.
    const std::uint16_t device = session.worker.context().state.device.deviceType.load();
    if (const std::optional<LabelId> refusal = SceneUploadRefusal(CurrentAppFolders(), path, device)) {
      std::cerr << "rmt4ctl: " << path << ": " << LabelText(*refusal) << std::endl;
      return *refusal == LabelId::NoFilesFullWidthStop ? kExitFileError : kExitFailed;
    }
    ReportKeptSafes(*plan);
    return PrintPlannedChanges(*plan);
  }
  ReportKeptSafes(*plan);
  session.worker.jobs().SetSceneUpload(UploadRequestOf(path, *plan));
  // An upload that reached the console ends with a question whose Yes stores
  // the result as a mode: a second job.
  const std::size_t since = session.owner.MessageCount();
  const int before = session.worker.FinishedJobCount();
  if (!RunJob(session, LinkJob::UploadScene)) return kExitFailed;
  if (session.answerYes && session.owner.Said({LabelId::UploadCompletedSave}, since) &&
      !WaitForFinishedJobs(session, before + 2)) {
    return kExitFailed;
  }
  if (session.owner.Said({LabelId::NoFilesFullWidthStop}, since)) return kExitFileError;
  const bool failed = session.owner.Said({LabelId::DataHasPassword,
                                          LabelId::WrongFileVersion, LabelId::WriteDataFailed,
                                          LabelId::ReadDataFailed, LabelId::EnterFileName, LabelId::SaveFailed},
                                         since);
  if (failed) return kExitFailed;
  return ReportUploadOutcome(*plan, session.worker.jobs().UploadOutcome());
}

int SceneCommand(CtlSession& session, const Words& command) {
  if (command[1] == "diff") {
    const auto file = ReadSceneValues(command[2]);
    if (!file) return kExitFileError;
    const std::array<std::uint16_t, kParamCount> live = MirrorWords(session.worker.params());
    // What an upload of the file would set: its last word is not among them.
    return PrintSceneDiff(UploadedWords(live, *file), live);
  }
  if (command[1] == "upload") return SceneUpload(session, command[2]);
  session.worker.jobs().SetScenePath(command[2]);
  const std::size_t since = session.owner.MessageCount();
  if (!RunJob(session, LinkJob::SaveScene)) return kExitFailed;
  return session.owner.MessageCount() > since && !session.owner.Said({LabelId::SaveFailed, LabelId::EnterFileName,
                                                                       LabelId::UnableToReadEncryptedMode}, since)
             ? kExitOk
             : kExitFailed;
}

TypedNetworkSettings TypedSettings(const Words& command) { return {command[2], command[3], command[4], command[5]}; }

/// Sends `text` in the module command slot `slot` and waits for the module's
/// answer; false (said on stderr) when it did not answer in time.
bool AskModule(CtlSession& session, int slot, const std::string& text) {
  ModuleCommandTable& modules = session.worker.context().modules;
  modules.ClearDone(slot);
  modules.SetModuleCommand(slot, text);
  if (!WaitUntil([&] { return modules.Done(slot); }, session.timeoutSeconds)) {
    std::cerr << "rmt4ctl: the network module did not answer" << std::endl;
    return false;
  }
  modules.ClearDone(slot);
  return true;
}

int NetconfGet(CtlSession& session) {
  if (!AskModule(session, ModuleCommandTable::kGetConfig, "Get_Confi:")) return kExitFailed;
  const ModuleCommandTable& modules = session.worker.context().modules;
  const auto configuration = StoredConfigurationReply(modules);
  if (!configuration) {
    std::cerr << "rmt4ctl: the network module's answer could not be read" << std::endl;
    return kExitFailed;
  }
  std::printf("address: %s\nmask: %s\ngateway: %s\nmac: %s\n", FormatIpv4(configuration->address).c_str(),
              FormatIpv4(configuration->mask).c_str(), FormatIpv4(configuration->gateway).c_str(),
              configuration->mac.c_str());
  return kExitOk;
}

/// The settings were checked before connecting; what is left is the PC's own
/// reach, a question (--yes answers it), and the module's verdict.
int NetconfSet(CtlSession& session, const Words& command) {
  const ModuleConfiguration configuration = CheckTypedNetworkSettings(TypedSettings(command)).configuration;
  if (!PcReaches(configuration.address, PcSubnets())) {
    const MessageButton answer =
        session.owner.ShowMessage(MessageStyle::YesNo, LabelText(LabelId::NetUnreachableFromPc), {});
    if (answer != MessageButton::Yes) return kExitUsage;
  }
  if (!AskModule(session, ModuleCommandTable::kSetConfig, FormatSetConfigCommand(configuration))) return kExitFailed;
  const std::string verdict = session.worker.context().modules.Text(ModuleCommandTable::kSetConfig);
  if (!ModuleAcceptedConfiguration(verdict)) {
    std::cerr << "rmt4ctl: " << LabelText(LabelId::SetFailed) << " " << ShownVerdict(verdict) << std::endl;
    return kExitFailed;
  }
  return kExitOk;
}

int SceneShow(const std::string& path) {
  SceneFile scene(CurrentAppFolders());
  const SceneFileResult result = scene.LoadSceneFile(path);
  if (result != SceneFileResult::kOk) {
    ReportUnreadableScene(path, result);
    return kExitFileError;
  }
  const SceneTime& t = scene.header.time;
  std::printf("device type: %u\nsaved: %04u-%02u-%02u %02u:%02u:%02u\nvalues: %zu\nlocked: %s\n",
              unsigned{scene.header.fileDeviceType}, unsigned{t.year}, unsigned{t.month}, unsigned{t.day}, unsigned{t.hour},
              unsigned{t.minute}, unsigned{t.second}, scene.values.size(), scene.header.lockFlag != 0 ? "yes" : "no");
  for (std::size_t i = 0; i < scene.values.size(); ++i) std::printf("%zu %u\n", i, unsigned{scene.values[i]});
  return kExitOk;
}

bool AllMatch(const Words& command, std::size_t from, bool (*valid)(const std::string&)) {
  return command.size() > from && std::all_of(command.begin() + static_cast<std::ptrdiff_t>(from), command.end(), valid);
}

}  // namespace

// Called from a signal handler: atomics and write() only.
void RequestInterrupt() {
  gInterrupted.store(true);
  const int fd = gInterruptWake.load();
  const std::uint64_t one = 1;
  if (fd >= 0) (void)::write(fd, &one, sizeof one);
}
bool Interrupted() { return gInterrupted.load(); }
void WakeOnInterrupt(int eventFd) { gInterruptWake.store(eventFd); }

ChangeLogOptions CtlChangeLogOptions(const ParamTable& params) {
  ChangeLogOptions options;
  options.folder = CurrentAppFolders().stateDirectory;
  options.valueAt = [&params](ParamAddress address) { return params.Value(address); };
  options.limits.recentEntries = 0;
  options.reportProblem = [](const std::string& problem) {
    std::cerr << "rmt4ctl: the change log cannot be written: " << problem << std::endl;
  };
  return options;
}

bool IsUnreadableSceneUpload(const Words& command) {
  if (command.size() != 3 || command[0] != "scene" || command[1] != "upload") return false;
  const SceneFileResult result = CheckSceneReadable(CurrentAppFolders(), command[2]);
  if (result == SceneFileResult::kOk) return false;
  ReportUnreadableScene(command[2], result);
  return true;
}

bool IsOfflineCommand(const Words& command) {
  return (command.size() == 3 && command[0] == "scene" && command[1] == "show") || IsSceneFilesDiff(command) ||
         IsNamesCommand(command) || IsHistoryCommand(command) || IsSafeCommand(command);
}

int RunOfflineCommand(const Words& command) {
  if (IsNamesCommand(command)) return ListNames(command);
  if (IsHistoryCommand(command)) return PrintHistory(command, CurrentAppFolders().stateDirectory, WallClockMs());
  if (IsSceneFilesDiff(command)) return RunSceneFilesDiff(command);
  if (IsSafeCommand(command)) return RunSafeCommand(command);
  return SceneShow(command[2]);
}

std::string ValidateCommand(const Words& c) {
  const std::string& name = c.empty() ? std::string() : c[0];
  auto isAddress = [](const std::string& w) { return ParseAddress(w).has_value(); };
  auto isAssignment = [](const std::string& w) { return ParseAssignment(w).has_value(); };
  if ((name == "status" || name == "dump" || name == "modes") && c.size() == 1) return {};
  if (name == "get") return AllMatch(c, 1, +isAddress) ? "" : "get needs addresses 0..1573";
  if (name == "set") return AllMatch(c, 1, +isAssignment) ? "" : "set needs ADDR=VALUE pairs (ADDR 0..1573, VALUE 0..65535)";
  if (name == "watch" && c.size() <= 2) {
    return c.size() == 1 || ParseNumber<unsigned>(c[1], 86400u * 365u) ? "" : "watch takes a number of seconds";
  }
  if (name == "mode" && c.size() == 3 && c[1] == "recall") return ParseRange(c[2], 1, kModeCount) ? "" : "mode number 1..12";
  if (name == "mode" && c.size() == 4 && c[1] == "rename") {
    if (!ParseRange(c[2], 1, kModeCount)) return "mode number 1..12";
    // The console keeps 20 characters and trims spaces and signs above 'z' at the end.
    const bool printable = !c[3].empty() && c[3].size() <= 20 && c[3].back() != ' ' &&
                           std::all_of(c[3].begin(), c[3].end(), [](char ch) { return ch >= 0x20 && ch <= 0x7A; });
    return printable ? "" : "a mode name is 1..20 characters from space to 'z', not ending in a space";
  }
  if (name == "fx" && c.size() == 4 && (c[1] == "recall" || c[1] == "store") && (c[2] == "1" || c[2] == "2")) {
    const std::optional<int> program = ParseRange(c[3], 1, kLastProgram);
    if (!program) return "effect program number 1.." + std::to_string(kLastProgram);
    if (c[1] == "recall") return {};
    // As the effect-return editor refuses it, in the interface language.
    const std::optional<LabelId> refusal = StoreProgramRefusal(*program);
    if (!refusal) return {};
    return std::string(LabelText(*refusal)) + " (fx store takes the user programs " +
           std::to_string(kLastFactoryProgram + 1) + ".." + std::to_string(kLastProgram) + ")";
  }
  if (name == "scene" && c.size() == 3 && (c[1] == "save" || c[1] == "upload" || c[1] == "show")) return {};
  if (IsSceneFilesDiff(c) || IsSceneConsoleDiff(c) || IsNamesCommand(c)) return {};
  if (IsHistoryCommand(c)) return ValidateHistory(c);
  if (IsSafeCommand(c)) return ValidateSafeCommand(c);
  if (IsServeCommand(c)) return ValidateServe(c);
  if (name == "netconf" && c.size() == 2 && c[1] == "get") return {};
  if (name == "netconf" && c.size() == 6 && c[1] == "set") {
    const NetworkSettingFault fault = CheckTypedNetworkSettings(TypedSettings(c)).fault;
    return fault == NetworkSettingFault::kNone ? "" : std::string(LabelText(NetworkSettingFaultText(fault)));
  }
  return "unknown or incomplete command: " + (name.empty() ? std::string("(none)") : name);
}

std::string ValidateFade(const Words& command) {
  if (command.empty() || command[0] != "set") return "--fade goes with set only";
  for (std::size_t i = 1; i < command.size(); ++i) {
    const ParamAddress address = ParseAssignment(command[i])->address;
    if (!Fades::CanFade(address)) {
      return ParamAt(address).name +
             " cannot fade: --fade moves levels and other values with a range, not choices or switches";
    }
  }
  return {};
}

std::optional<std::vector<ParamAddress>> AddressesToRead(const Words& command) {
  if (command.empty() || (command[0] != "get" && command[0] != "set")) return std::nullopt;
  std::vector<ParamAddress> addresses;
  for (std::size_t i = 1; i < command.size(); ++i) {
    addresses.push_back(command[0] == "get" ? *ParseAddress(command[i]) : ParseAssignment(command[i])->address);
  }
  return addresses;
}

int RunCommand(CtlSession& session, const Words& command) {
  const std::string& name = command[0];
  if (name == "status") return Status(session);
  if (name == "get") return Get(session, command);
  if (name == "set") return Set(session, command);
  if (name == "dump") return Dump(session);
  if (name == "watch") return Watch(session, command);
  if (name == "modes") return Modes(session);
  if (name == "mode") return ModeCommand(session, command);
  if (name == "fx") return FxCommand(session, command);
  if (name == "scene") return SceneCommand(session, command);
  if (name == "netconf") return command[1] == "get" ? NetconfGet(session) : NetconfSet(session, command);
  if (name == "serve") return Serve(session, command);
  return kExitUsage;
}

}  // namespace rmt4::ctl
