// The jobs windows request from the link worker: modes, effect presets and
// scenes. They run on the worker thread; nothing else is sent meanwhile.
#include <algorithm>
#include <filesystem>

#include "files/scene_file.h"
#include "i18n/label_text.h"
#include "link/link_worker.h"
#include "link/scene_upload.h"

namespace rmt4 {
namespace {

// High byte of the mode operation word while a recall is in progress.
constexpr std::uint16_t kRecallInProgress = 0x0600;
constexpr int kModeNameBytesSent = 20;
constexpr int kUploadedAddresses = static_cast<int>(kParamCount);

}  // namespace

void LinkWorker::RunJob(int job, int& idle) {
  bool afterJobStep = true;
  switch (static_cast<LinkJob>(job)) {
    case LinkJob::SaveScene:
      SaveScene();
      break;
    case LinkJob::UploadScene:
      // Only a scene that reached the console may be stored as the current mode.
      if (UploadScene() && Show(LabelId::UploadCompletedSave, MessageStyle::YesNo) == MessageButton::Yes) {
        jobs_.Request(LinkJob::StoreMode);
      }
      context_.owner.PostNotify(UiNotify::DataReloaded, 0);
      break;
    case LinkJob::RecallMode:
      RecallMode();
      break;
    case LinkJob::StoreModeName:
      StoreModeName();
      break;
    case LinkJob::StoreMode:
      StoreMode();
      break;
    case LinkJob::RecallFxPreset1:
      afterJobStep = RecallFxPreset(Command::RecallFxPreset1, address::kFx1Program, address::kFx1ProgramType);
      break;
    case LinkJob::RecallFxPreset2:
      afterJobStep = RecallFxPreset(Command::RecallFxPreset2, address::kFx2Program, address::kFx2ProgramType);
      break;
    case LinkJob::StoreFxPreset1:
      StoreFxPreset(Command::StoreFxPreset1, address::kFx1Program);
      break;
    case LinkJob::StoreFxPreset2:
      StoreFxPreset(Command::StoreFxPreset2, address::kFx2Program);
      break;
    default:
      return;  // unused index: nothing to do, nothing to tidy up
  }
  if (!afterJobStep) return;
  idle = 0;
  if (context_.appRunning.load()) HideProgress();
}

void LinkWorker::ShowSaveResult(bool saved) { Show(saved ? LabelId::SaveSuccessfully : LabelId::SaveFailed); }

void LinkWorker::RecallMode() {
  ParamEntry& operation = context_.state.params[address::kModeOperation];
  operation.Edit(operation.Value() | kRecallInProgress);
  const auto mode = static_cast<std::uint8_t>(operation.Value() & 0xFF);
  if (!SendUntilAcknowledged(Command::RecallMode, std::span<const std::uint8_t>(&mode, 1), 2000, 100)) {
    Show(LabelId::InvocationFailed);
    return;
  }
  operation.Store(0);
  operation.ClearDirty();
  if (context_.appRunning.load()) ShowProgressText(std::string(LabelText(LabelId::Call)) + "...", 100);
  Pause(200);
  ReadAllAndRefresh();
  context_.owner.PostNotify(UiNotify::DataReloaded, 0);
}

void LinkWorker::StoreModeName() {
  LinkState& state = context_.state;
  std::vector<std::uint8_t> payload;
  payload.push_back(static_cast<std::uint8_t>(state.params.Value(address::kModeOperation) & 0xFF));
  const ModeName name = state.modeNames.Buffer();
  for (int i = 0; i < kModeNameBytesSent; ++i) payload.push_back(static_cast<std::uint8_t>(name[static_cast<std::size_t>(i)] & 0xFF));

  const bool stored = SendUntilAcknowledged(Command::StoreModeName, payload, 2000);
  if (stored) ReadModeNames(0);
  ShowSaveResult(stored);
  state.params[address::kModeOperation].ClearDirty();
}

void LinkWorker::StoreMode() {
  const std::array<std::uint8_t, 2> payload{1, 1};
  ShowSaveResult(SendUntilAcknowledged(Command::StoreMode, payload, 2000));
}

bool LinkWorker::RecallFxPreset(Command command, ParamAddress programAddress, ParamAddress firstParameter) {
  ParamTable& params = context_.state.params;
  const auto program = static_cast<std::uint8_t>(params.Value(programAddress) & 0xFF);
  if (!SendUntilAcknowledged(command, std::span<const std::uint8_t>(&program, 1), 500)) {
    // Left as it is on purpose: the progress window stays and the idle count runs on.
    Show(LabelId::InvocationFailed);
    return false;
  }
  Pause(300);
  for (int offset = 0; offset < 3; ++offset) {
    params[static_cast<ParamAddress>(firstParameter + offset)].rereadRequested.store(true);
  }
  return true;
}

void LinkWorker::StoreFxPreset(Command command, ParamAddress programAddress) {
  const auto program = static_cast<std::uint8_t>(context_.state.params.Value(programAddress) & 0xFF);
  ShowSaveResult(SendUntilAcknowledged(command, std::span<const std::uint8_t>(&program, 1), 2000));
}

void LinkWorker::SaveScene() {
  Pause(10);
  const std::string path = jobs_.ScenePath();
  if (path.empty()) {
    Show(LabelId::EnterFileName);
    Pause(5);
    return;
  }
  LinkState& state = context_.state;
  if (!ReadAllParams() || state.device.currentModeLocked.load()) {
    Show(LabelId::SaveFailed);
    Pause(5);
    return;
  }
  std::array<std::uint16_t, kSceneParamCount> values{};
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    values[a] = state.params.Value(a);
    state.params[a].received.store(false);
  }

  SceneFile scene(options_.sceneFolders);
  scene.header.fileDeviceType = state.device.deviceType.load();
  // A bare name goes into the scene folder; a path is written where it points.
  const std::filesystem::path target(path);
  SceneFileResult result;
  std::string savedPath;
  if (target.has_parent_path()) {
    scene.DeleteSceneFile(path);
    result = scene.WriteSceneFile(path, values);
    savedPath = scene.WithExtension(path);
  } else {
    result = scene.SaveSceneFile(values, path);
    savedPath = scene.savedPath;
  }
  if (result == SceneFileResult::kOk) {
    context_.owner.ShowMessage(MessageStyle::Ok, savedPath, LabelText(LabelId::SaveSuccessfully));
  } else {
    Show(LabelId::SaveFailed);
  }
  Pause(5);
}

bool LinkWorker::UploadScene() {
  jobs_.SetUploadOutcome(std::nullopt);
  Pause(10);
  const std::string path = jobs_.ScenePath();
  SceneWrite write = SceneWrite::kRefused;
  if (path.empty()) {
    Show(LabelId::EnterFileName);
  } else {
    write = WriteSceneToConsole();
    if (write == SceneWrite::kProtected) return false;  // a password-protected scene ends here
  }
  Pause(1);
  if (context_.appRunning.load()) HideProgress();
  const bool linkUp = context_.linkUp.load();
  if (!linkUp) Show(LabelId::WriteDataFailed);
  return write == SceneWrite::kWritten && linkUp;
}

LinkWorker::SceneWrite LinkWorker::WriteSceneToConsole() {
  LinkState& state = context_.state;
  if (const auto refusal = SceneUploadRefusal(options_.sceneFolders, jobs_.ScenePath(), state.device.deviceType.load())) {
    HideProgress();
    Show(*refusal);
    return *refusal == LabelId::DataHasPassword ? SceneWrite::kProtected : SceneWrite::kRefused;
  }

  ParamTable& params = state.params;
  // Only what was planned: the bits of other things in a written word stay as the console holds them.
  const SceneUploadRequest upload = jobs_.SceneUpload();
  for (const RequestedEdit& edit : upload.edits) {
    if (IsSceneSetting(edit.address)) {
      params[edit.address].Edit(ReplaceOwnBits(params.Value(edit.address), edit.value, edit.own));
    }
  }

  if (context_.appRunning.load()) {
    context_.owner.SetProgressFormat(std::string(LabelText(LabelId::UpdateSceneDataFormat)));
    context_.owner.SetProgressPosition(0);
    context_.owner.ShowProgress();
  }
  for (ParamAddress a = 0; a < kParamCount; ++a) params[a].retryCount.store(0);
  batches_.SetWriteCursor(0);
  if (context_.appRunning.load()) context_.owner.SetProgressMaximum(static_cast<int>(kParamCount));

  ReplySignal& reply = state.reply;
  auto settled = [&] { return kUploadedAddresses - params.CountDirty(); };
  while (context_.linkUp.load()) {
    for (int i = 0; i < kUploadedAddresses && context_.linkUp.load(); ++i) {
      const auto a = static_cast<ParamAddress>(i);
      if (params[a].received.exchange(false)) context_.owner.PostNotify(UiNotify::ValueArrived, a);
      if (!params[a].Dirty()) continue;
      (void)reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0));
      reply.awaitingReply.store(true);
      batches_.BuildWriteBatch(kContinue, kMaxWriteEntries);
      WaitForReply(timing_.uploadBatchWaitMs);
      reply.awaitingReply.store(false);
      SetProgressPosition(settled());
    }
    const int clean = settled();
    SetProgressPosition(clean);
    Pause(1);
    if (clean >= kUploadedAddresses) break;
  }
  Pause(100);
  ReadAllAndRefresh();
  if (context_.linkUp.load()) {
    jobs_.SetUploadOutcome(SceneUploadOutcome{upload.changes, UnconfirmedChanges(upload.edits, MirrorWords(params))});
    context_.owner.PostNotify(UiNotify::SceneUploaded, 0);
  }
  return SceneWrite::kWritten;
}

}  // namespace rmt4
