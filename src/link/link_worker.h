#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "i18n/label_id.h"
#include "link/link_configuration.h"
#include "link/link_jobs.h"
#include "platform/app_folders.h"
#include "protocol/batch_builder.h"
#include "protocol/link_context.h"
#include "protocol/link_transport.h"

namespace rmt4 {

/// The one thread that owns the connection to the console for the life of
/// the program: it connects, identifies the console, reads everything, keeps
/// the mirror in sync, runs the jobs windows request and reconnects forever.
/// Windows never talk to it directly: they edit the parameter table or raise
/// a job, and learn about arrivals through the owner's notifications.
class LinkWorker final : public FrameSender {
 public:
  struct Options {
    TransportFactory makeTransport;
    /// Called once on the worker thread when it starts.
    std::function<LinkConfiguration()> readConfiguration;
    /// Where scene names without a folder are saved and looked for.
    AppFolders sceneFolders;
    /// The wire trace file (empty: none); nothing leaves the choice to RMT4_TRACE.
    std::optional<std::string> tracePath;
    /// The time the link's timing rules are measured in; tests simulate it.
    Clock* clock = &SteadyClock();
    /// Leaves out the pauses that give a program's windows and a just
    /// switched-on console time to settle (at start, after identifying, around
    /// the read): a short-lived client that names its console has neither.
    bool skipSettlePauses = false;
    /// After connecting, read only these addresses instead of everything (and
    /// no mode names); nothing: the complete read. Values that have not
    /// arrived keep `rereadRequested` set and are asked for again.
    std::optional<std::vector<ParamAddress>> readOnly;
  };

  LinkWorker(LinkOwner& owner, Options options);
  ~LinkWorker() override;
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  /// Loads the defaults and starts the worker thread.
  void StartLink();
  /// Stops the worker and closes the transport; returns once the thread ended.
  /// Message boxes the worker raises afterwards must return at once.
  void StopLink();

  /// Frames the payload and hands it to the active transport, counting a
  /// miss when the console has been silent for too long.
  void SendFrame(Command command, std::span<const std::uint8_t> payload) override;

  [[nodiscard]] LinkContext& context() { return context_; }
  [[nodiscard]] ParamTable& params() { return context_.state.params; }
  [[nodiscard]] LinkJobs& jobs() { return jobs_; }
  /// Where scene names without a folder are saved and looked for (also the settings folders).
  [[nodiscard]] const AppFolders& sceneFolders() const { return options_.sceneFolders; }
  [[nodiscard]] bool linkUp() const { return context_.linkUp.load(); }
  /// How often the worker finished its read after connecting (everything, or
  /// the addresses of `readOnly`) and began (again) keeping the console in
  /// sync; waiters watch it grow.
  [[nodiscard]] int SyncCount() const { return syncCount_.load(); }
  /// How many jobs the worker has finished.
  [[nodiscard]] int FinishedJobCount() const { return finishedJobs_.load(); }

 private:
  enum class Wait { Signalled, TimedOut, Skipped };
  enum class Identification { Identified, Restart };

  void Run();
  [[nodiscard]] Identification Identify();
  void SteadyLoop();
  /// Brings the mirror back in step with the console after a reconnect that
  /// skipped the connection loop.
  void Resync();
  void OnWriteGivenUp(ParamAddress address);
  /// Edits made while disconnected are not written to a console that may
  /// have changed meanwhile (the complete read brings its values back); the
  /// owner hears of each, after the connected status.
  void ReportDroppedEdits(const std::vector<ParamAddress>& dropped);
  /// The user learns that an edit did not arrive; the trace says why.
  void ReportEditNotConfirmed(std::string_view what, const std::string& detail, ParamAddress address);
  void ServeModuleCommand(int& cursor, int& idle);
  void ServeWrites(int& cursor, int& idle);
  void ServeRereads();
  /// One ReadParams batch for every run of addresses marked for re-reading,
  /// in ascending order; `afterBatch` runs after each, given the addresses it asked for.
  void SendRereadBatches(const std::function<void(const std::vector<ParamAddress>& batch)>& afterBatch);
  void PostArrivals();
  void RunRequestedJobs(int& idle);
  void IdleWork(int& idle);

  // Exchanges with the console.
  /// No frame came from the console for the silence limit.
  [[nodiscard]] bool ConsoleSilent() const;
  [[nodiscard]] bool TransportConnected() const;
  Wait WaitForReply(int timeoutMs);
  Wait Exchange(Command command, std::span<const std::uint8_t> payload, int timeoutMs);
  bool SendUntilAcknowledged(Command command, std::span<const std::uint8_t> payload, int timeoutMs,
                             int pauseBeforeWaitMs = 0);
  void SendReadRequest(ParamAddress address);
  void SendKeepAlive();

  // Complete read.
  /// The read after every (re)connection: everything, or only `readOnly`.
  void ReadAfterConnecting();
  /// Reads the given addresses only, waiting for each batch's reply; what
  /// has not arrived then stays marked for re-reading.
  void ReadNamedParams(const std::vector<ParamAddress>& addresses);
  bool ReadAllParams();
  void ReadAllAndRefresh();
  void ReadModeNames(int currentMode);
  [[nodiscard]] int CountReceived() const;

  // Jobs.
  void RunJob(int job, int& idle);
  void RecallMode();
  void StoreModeName();
  void StoreMode();
  bool RecallFxPreset(Command command, ParamAddress programAddress, ParamAddress firstParameter);
  void StoreFxPreset(Command command, ParamAddress programAddress);
  void SaveScene();
  /// True when the scene reached the console and the link held to the end.
  bool UploadScene();
  /// Written to the console; refused with a message; password-protected (the job ends at once).
  enum class SceneWrite { kWritten, kRefused, kProtected };
  SceneWrite WriteSceneToConsole();

  // The owner.
  MessageButton Show(LabelId text, MessageStyle style = MessageStyle::Ok, std::string_view caption = {});
  void ShowSaveResult(bool saved);
  void ShowProgress(LabelId format, int maximum);
  void ShowProgressText(const std::string& format, int maximum);
  void SetProgressPosition(int position);
  void HideProgress();
  void SendStatus(LinkStatus status);

  /// Sleeps, but wakes at once when the link stops.
  void Pause(int ms);
  /// A pause that only lets things settle: left out with `skipSettlePauses`.
  void SettlePause(int ms);
  /// As Pause, but ends as soon as `done` holds.
  void PauseUntil(int ms, const std::function<bool()>& done);

  LinkContext context_;
  Options options_;
  LinkJobs jobs_;
  BatchBuilder batches_;
  LinkTiming timing_ = TimingFor(kUsbHid);  // worker thread only

  std::unique_ptr<LinkTransport> transport_;  // made and used on the worker thread
  std::atomic<LinkTransport*> activeTransport_{nullptr};

  std::atomic<int> syncCount_{0};
  std::atomic<bool> resyncRequested_{false};
  std::atomic<int> finishedJobs_{0};
  /// The meter word last posted to the owner; worker thread only.
  std::optional<std::uint16_t> postedMeterWord_;

  std::thread thread_;
};

}  // namespace rmt4
