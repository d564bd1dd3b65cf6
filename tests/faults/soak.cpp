// A show of many hours on the link's virtual clock, against the console in
// this process: a user edit a second, a change made at the console every few
// seconds, a scene upload every half hour, a mode recall every hour, a cable
// pull every ten minutes and 2 % of the frames lost or garbled. No edit may be
// lost in silence, the mirror must equal the console at every quiet moment,
// and memory, descriptors and threads must not grow after the first hour.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>

#include "fault_runs.h"
#include "i18n/label_text.h"
#include "link/scene_upload.h"
#include "lossy_console.h"
#include "virtual_clock.h"

namespace rmt4::faults {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kSecondMs = 1000;
constexpr std::int64_t kMinuteMs = 60 * kSecondMs;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;
constexpr double kFaultShare = 0.02;
constexpr int kEditsWhilePulled = 2;
constexpr auto kRealLimit = 60s;  // for a reconnect, a job or settling down, in real time
// Growth allowed from the first hour to the end: allocator bookkeeping, not a leak.
constexpr long kHeapSlackBytes = 32 * 1024;
constexpr long kResidentSlackKiB = 256;
// ThreadSanitizer brings its own allocator and shadow memory, so there only
// descriptors and threads tell a leak.
#ifdef __SANITIZE_THREAD__
constexpr bool kMemoryTellsLeaks = false;
#else
constexpr bool kMemoryTellsLeaks = true;
#endif

/// What the process holds: heap in use, resident memory, descriptors, threads.
struct Footprint {
  long heapBytes = 0;
  long residentKiB = 0;
  ProcessCounts counts;

  static Footprint Now() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return {static_cast<long>(::mallinfo2().uordblks), resident * (::sysconf(_SC_PAGESIZE) / 1024),
            ProcessCounts::Now()};
  }
};

/// A user edit not yet judged. Judged once it has been seen written or given
/// up twice in a row: a not-confirmed report follows its giving up at once.
struct PendingEdit {
  ParamAddress address;
  std::uint16_t value;
  std::uint64_t stamp;
  bool seenSettled;
};

class Show {
 public:
  explicit Show(Random& random);
  ~Show();
  Show(const Show&) = delete;
  Show& operator=(const Show&) = delete;

  int Run(int minutes);

 private:
  bool Start();
  /// Waits until the link's clock reached `at`; false when it stood still.
  bool WaitForClock(std::int64_t at);
  void Edit();
  void ChangeAtConsole();
  void PullCable();
  void UploadScene();
  void RecallMode();
  /// Raises the job as a window does and waits until it and the `jobs` it
  /// brings about have ended; the user cannot edit meanwhile (the progress
  /// window is modal).
  bool RunJob(LinkJob job, int jobs);
  /// Waits until nothing is left to write or re-read and every edit is
  /// judged, then compares the mirror with the console.
  bool Settle();
  void JudgeEdits();
  void CompareMirror();

  ParamTable& Params() { return worker_->params(); }
  /// A plain address no pending edit holds or a re-read will bring.
  ParamAddress FreeAddress();
  std::uint16_t FreshValue(std::uint16_t current) { return faults::FreshValue(random_, current, kTopValue); }

  Random& random_;
  test::VirtualClock clock_;
  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};
  CountingOwner owner_;
  std::filesystem::path folder_ = MakeTempFolder();
  std::atomic<LossyConsole*> transport_{nullptr};
  std::unique_ptr<LinkWorker> worker_;
  const std::vector<ParamAddress> plain_ = PlainAddresses();
  std::vector<PendingEdit> pending_;

  int edits_ = 0;
  int onConsole_ = 0;
  int reported_ = 0;
  int lost_ = 0;
  int consoleChanges_ = 0;
  int pulls_ = 0;
  int uploads_ = 0;
  int recalls_ = 0;
  int failures_ = 0;  // reconnects, jobs or settling that did not happen
  int drifts_ = 0;
};

Show::Show(Random& random) : random_(random) { pending_.reserve(plain_.size()); }

Show::~Show() {
  if (worker_) worker_->StopLink();
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool Show::Start() {
  const unsigned seed = random_();
  LinkWorker::Options options;
  options.makeTransport = [this, seed](ConnectionKind, LinkContext& context, FrameSender&) {
    auto transport = std::make_unique<LossyConsole>(context, console_, kFaultShare, seed);
    transport_.store(transport.get());
    return transport;
  };
  options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
  options.sceneFolders = AppFolders{folder_ / "scenes" / "", folder_ / "fallback" / ""};
  options.clock = &clock_;
  worker_ = std::make_unique<LinkWorker>(owner_, std::move(options));
  worker_->StartLink();
  if (folder_.empty() || !WaitUntil(kRealLimit, [&] { return worker_->SyncCount() > 0; })) {
    std::cerr << "soak: no first complete read" << std::endl;
    return false;
  }
  // The scene every upload brings back, saved at the start of the show.
  worker_->jobs().SetScenePath((folder_ / "show").string());
  return RunJob(LinkJob::SaveScene, 1);
}

bool Show::WaitForClock(std::int64_t at) {
  std::int64_t last = clock_.NowMs();
  auto lastMoved = Clock::now();
  while (clock_.NowMs() < at) {
    std::this_thread::sleep_for(100us);
    if (clock_.NowMs() != last) {
      last = clock_.NowMs();
      lastMoved = Clock::now();
    } else if (Clock::now() - lastMoved > kRealLimit) {
      std::cerr << "soak: the link's clock stood still for " << kRealLimit.count() << " s" << std::endl;
      return false;
    }
  }
  return true;
}

ParamAddress Show::FreeAddress() {
  std::uniform_int_distribution<std::size_t> pick(0, plain_.size() - 1);
  while (true) {
    const ParamAddress address = plain_[pick(random_)];
    const bool held = std::any_of(pending_.begin(), pending_.end(), [&](const PendingEdit& e) {
      return e.address == address;
    });
    if (!held && !Params()[address].rereadRequested.load()) return address;
  }
}

void Show::Edit() {
  const ParamAddress address = FreeAddress();
  const std::uint16_t value = FreshValue(Params().Value(address));
  ParamSet(Params(), address, value);
  // Stamped after the edit: a report for an older edit of the address cannot pass for this one.
  pending_.push_back({address, value, owner_.Stamp(), false});
  ++edits_;
}

void Show::ChangeAtConsole() {
  const ParamAddress address = FreeAddress();
  transport_.load()->ChangeOnConsole(address, FreshValue(console_.Value(address)));
  ++consoleChanges_;
}

void Show::PullCable() {
  const int syncs = worker_->SyncCount();
  transport_.load()->SetPlugged(false);
  // Meanwhile a change at the console the PC can only learn by reading again,
  // and edits that cannot be written.
  const ParamAddress changed = FreeAddress();
  (void)console_.ChangeFromConsole(changed, FreshValue(console_.Value(changed)));
  for (int edit = 0; edit < kEditsWhilePulled; ++edit) Edit();
  transport_.load()->SetPlugged(true);
  ++pulls_;
  if (!WaitUntil(kRealLimit, [&] { return worker_->SyncCount() > syncs; })) {
    ++failures_;
    std::cerr << "soak: pull " << pulls_ << ": the link did not come back" << std::endl;
  }
}

bool Show::RunJob(LinkJob job, int jobs) {
  const int finished = worker_->FinishedJobCount();
  worker_->jobs().Request(job);
  if (WaitUntil(kRealLimit, [&] { return worker_->FinishedJobCount() >= finished + jobs; })) return true;
  ++failures_;
  std::cerr << "soak: job " << static_cast<int>(job) << " did not end" << std::endl;
  return false;
}

void Show::UploadScene() {
  Settle();  // the scene replaces the edits: judged before
  const int completed = owner_.Said(LabelText(LabelId::UploadCompletedSave));
  ++uploads_;
  const std::string path = (folder_ / "show").string();
  const auto plan = PlanSceneFileUpload(AppFolders{folder_ / "scenes" / "", folder_ / "fallback" / ""}, path,
                                        worker_->params(), {}, {});
  worker_->jobs().SetSceneUpload(plan ? UploadRequestOf(path, *plan) : SceneUploadRequest{path, {}, 0});
  // Its question (store as the current mode?) is answered yes: a second job.
  if (RunJob(LinkJob::UploadScene, 2) && owner_.Said(LabelText(LabelId::UploadCompletedSave)) == completed) {
    ++failures_;
    std::cerr << "soak: upload " << uploads_ << " did not complete" << std::endl;
  }
}

void Show::RecallMode() {
  Settle();  // the mode replaces the edits: judged before
  const int mode = std::uniform_int_distribution<int>(1, kModeCount)(random_);
  Params()[address::kModeOperation].Edit(static_cast<std::uint16_t>(kRecallRequest | mode));
  ++recalls_;
  if (RunJob(LinkJob::RecallMode, 1) && Params().Value(address::kCurrentMode) != mode) {
    ++failures_;
    std::cerr << "soak: recall " << recalls_ << " of mode " << mode << " did not take" << std::endl;
  }
}

void Show::JudgeEdits() {
  std::erase_if(pending_, [&](PendingEdit& edit) {
    if (Params()[edit.address].Dirty() || !edit.seenSettled) {
      edit.seenSettled = !Params()[edit.address].Dirty();
      return false;
    }
    if (console_.Value(edit.address) == edit.value) {
      ++onConsole_;
    } else if (owner_.LastNotConfirmed(edit.address) > edit.stamp) {
      ++reported_;
    } else {
      ++lost_;
      std::cerr << "soak: lost: address " << edit.address << " edited to " << edit.value << ", console holds "
                << console_.Value(edit.address) << ", mirror " << Params().Value(edit.address) << std::endl;
    }
    return true;
  });
}

bool Show::Settle() {
  const auto limit = Clock::now() + kRealLimit;
  auto busy = [&] {
    if (!pending_.empty() || Params().CountDirty() > 0) return true;
    for (ParamAddress a = 0; a < kParamCount; ++a) {
      if (Params()[a].rereadRequested.load()) return true;
    }
    return false;
  };
  while (busy()) {
    if (Clock::now() > limit || !WaitForClock(clock_.NowMs() + 100)) {
      ++failures_;
      std::cerr << "soak: writes, re-reads or edits still pending after " << kRealLimit.count() << " s" << std::endl;
      return false;
    }
    JudgeEdits();
  }
  CompareMirror();
  return true;
}

void Show::CompareMirror() {
  int differing = 0;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    // The meters move with every poll; the mirror's mode-operation word is the link's own mailbox.
    if (a == address::kLevelMeters || a == address::kModeOperation || Params().Value(a) == console_.Value(a)) continue;
    if (++differing <= 3) {
      std::cerr << "soak: mirror " << a << " = " << Params().Value(a) << ", console " << console_.Value(a) << std::endl;
    }
  }
  if (differing > 0) ++drifts_;
}

int Show::Run(int minutes) {
  if (!Start()) return 1;
  const std::int64_t start = clock_.NowMs();
  const std::int64_t end = start + minutes * kMinuteMs;
  // The footprint to compare with: after the first hour, or a third of a shorter show.
  const std::int64_t settledIn = start + std::min<std::int64_t>(kHourMs, (end - start) / 3);
  std::int64_t nextEdit = start + kSecondMs;
  std::int64_t nextChange = start + 3 * kSecondMs;
  std::int64_t nextPull = start + 5 * kMinuteMs;
  // Each kind of event happens once before the footprint is taken: what it
  // keeps from its first run (tables built once, the last plan) is no growth.
  std::int64_t nextUpload = start + std::min<std::int64_t>(12 * kMinuteMs, (end - start) / 5);
  std::int64_t nextRecall = start + std::min<std::int64_t>(22 * kMinuteMs, (end - start) / 4);
  std::uniform_int_distribution<std::int64_t> changeGap(2 * kSecondMs, 6 * kSecondMs);
  std::optional<Footprint> early;
  const auto began = Clock::now();
  bool stalled = false;
  while (true) {
    const std::int64_t next = std::min({nextEdit, nextChange, nextPull, nextUpload, nextRecall});
    if (next >= end) break;
    if (!WaitForClock(next)) {
      stalled = true;
      break;
    }
    if (next == nextPull) {
      PullCable();
      nextPull += 10 * kMinuteMs;
    } else if (next == nextUpload) {
      UploadScene();
      nextUpload += 30 * kMinuteMs;
    } else if (next == nextRecall) {
      RecallMode();
      nextRecall += kHourMs;
    } else if (next == nextChange) {
      ChangeAtConsole();
      nextChange += changeGap(random_);
    } else {
      Edit();
      JudgeEdits();
      nextEdit += kSecondMs;
    }
    if (!early && clock_.NowMs() >= settledIn && Settle()) early = Footprint::Now();
  }
  const bool settled = !stalled && Settle();
  const Footprint late = Footprint::Now();
  const long frames = transport_.load()->Frames();
  const long faults = transport_.load()->Faults();
  worker_->StopLink();
  const double realSeconds = std::chrono::duration<double>(Clock::now() - began).count();
  if (!early) early = late;

  const bool memoryGrew = late.heapBytes - early->heapBytes > kHeapSlackBytes ||
                          late.residentKiB - early->residentKiB > kResidentSlackKiB;
  const bool grew = (kMemoryTellsLeaks && memoryGrew) || late.counts != early->counts;
  std::printf("soak: %d simulated minutes in %.0f s: %d edits (%d on the console, %d reported not confirmed, %d "
              "silently lost), %d changes at the console, %d cable pulls, %d scene uploads, %d mode recalls, %ld "
              "of %ld frames lost or garbled; %d failures, %d mirror drifts%s\n",
              minutes, realSeconds, edits_, onConsole_, reported_, lost_, consoleChanges_, pulls_, uploads_, recalls_,
              faults, frames, failures_, drifts_, settled ? "" : ", NOT SETTLED at the end");
  std::printf("soak: heap in use %ld -> %ld KiB, resident %ld -> %ld KiB (slack %ld and %ld KiB), descriptors %ld "
              "-> %ld, threads %ld -> %ld (from the first hour to the end)%s\n",
              early->heapBytes / 1024, late.heapBytes / 1024, early->residentKiB, late.residentKiB,
              kHeapSlackBytes / 1024, kResidentSlackKiB, early->counts.fds, late.counts.fds, early->counts.threads,
              late.counts.threads, grew ? ": GREW" : "");
  return settled && lost_ == 0 && failures_ == 0 && drifts_ == 0 && !grew ? 0 : 1;
}

}  // namespace

int RunSoak(int minutes, Random& random) {
  Show show(random);
  return show.Run(minutes);
}

}  // namespace rmt4::faults
