#include "ui/main/offline_session.h"

#include <cstdio>
#include <string>

#include "emulator/in_process_console.h"
#include "files/scene_file.h"
#include "protocol/address_map.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

emulator::ConsoleSettings OfflineConsoleSettings() {
  emulator::ConsoleSettings settings;
  settings.soundingMeters = false;
  return settings;
}

}  // namespace

OfflineSession::OfflineSession(AppFolders folders)
    : folders_(std::move(folders)), console_(OfflineConsoleSettings()), kept_(ConsoleValues()) {}

std::vector<std::uint16_t> OfflineSession::ConsoleValues() const {
  std::vector<std::uint16_t> values(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = console_.Value(a);
  return values;
}

bool OfflineSession::HasEdits() const {
  const std::vector<std::uint16_t> now = ConsoleValues();
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    // The link writes these itself; they are no edit of the user's.
    if (a == address::kLevelMeters || a == address::kModeOperation || a == address::kKeepAlive) continue;
    if (now[a] != kept_[a]) return true;
  }
  return false;
}

SceneFileResult OfflineSession::SaveEdits(std::string_view name) {
  SceneFile scene(folders_);
  scene.header.fileDeviceType = console_.Value(address::kDeviceType);
  std::array<std::uint16_t, kSceneParamCount> values{};
  const std::vector<std::uint16_t> now = ConsoleValues();
  std::copy(now.begin(), now.end(), values.begin());
  const SceneFileResult result = scene.SaveSceneFile(values, name);
  if (result == SceneFileResult::kOk) kept_ = now;
  return result;
}

std::optional<LabelId> OfflineSession::LoadScene(std::string_view name) {
  SceneFile scene(folders_);
  // The same refusals as an upload to a console: a scene that reaches the
  // console offline must be one that could reach it at the venue.
  if (scene.LoadSceneFile(name) != SceneFileResult::kOk) return LabelId::NoFilesFullWidthStop;
  if (scene.header.lockFlag != 0) return LabelId::DataHasPassword;
  if (scene.header.fileDeviceType != console_.Value(address::kDeviceType)) return LabelId::WrongFileVersion;
  console_.Load(scene.values);
  kept_ = ConsoleValues();
  return std::nullopt;
}

bool OfflineSession::LoadSceneOrExplain(std::string_view name, QWidget* owner) {
  const std::optional<LabelId> problem = LoadScene(name);
  if (!problem) return true;
  const QString scene = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  std::fprintf(stderr, "rmt4: %s: %s\n", qPrintable(scene), qPrintable(Translated(*problem)));
  ShowMessageBox(owner, MessageStyle::Ok, Translated(*problem) + QStringLiteral("\n") + scene,
                 QStringLiteral("RMT-4"));
  return false;
}

LinkWorker::Options OfflineSession::LinkOptions() {
  LinkWorker::Options options;
  options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender&) {
    return std::make_unique<emulator::InProcessConsole>(context, console_);
  };
  // The USB timing is the quickest; the in-process console answers within the send anyway.
  options.readConfiguration = [] { return LinkConfiguration{kUsbHid, LinkConfiguration{}.serialBaudRate}; };
  options.sceneFolders = folders_;
  // The day's change log tells what happened to a console; a show prepared
  // offline changed none, so its history stays in memory.
  options.sceneFolders.stateDirectory.clear();
  options.skipSettlePauses = true;
  return options;
}

}  // namespace rmt4::ui
