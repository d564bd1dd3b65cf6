#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/param_change.h"
#include "protocol/param_table.h"

namespace rmt4 {

/// What made an undo step.
enum class StepKind : std::uint8_t { kGesture, kSceneUpload, kModeRecall, kEffectRecall };

/// One undo step: every word it changed, once, in the order first changed.
struct HistoryStep {
  std::uint64_t number = 0;
  StepKind kind = StepKind::kGesture;
  std::vector<ParamChange> changes;
};

/// How much an undo history keeps; the oldest steps go first.
struct HistoryLimits {
  std::size_t steps = 1000;
  /// Over all kept steps: a scene upload holds up to a whole table.
  std::size_t changes = 200000;
};

/// Whether a word is a setting of the console that the history follows (not
/// its meters, identity, keep-alive or mode machinery).
[[nodiscard]] bool IsHistoryWord(ParamAddress address);

/// The undo history of one parameter table, fed by every edit ParamSet makes
/// on the editing thread; used on that thread only. Edits between BeginStep
/// and EndStep form one step (an edit outside them opens a step that the
/// owner is told of and closes); a snapshot step is everything a job changed
/// between BeginSnapshot and EndSnapshot. Undo and redo write through
/// ParamSet, only the bits a step changed, so the link confirms them like
/// any edit. Finished steps, undos, redos and changes seen from the console
/// go to the sink as records.
class EditHistory final : public EditListener {
 public:
  /// Milliseconds since 1970 for the records.
  using WallClock = std::function<std::int64_t()>;
  enum class Reload { kFirst, kSameConsole, kOtherConsole };

  /// Listens to `table` from now until destroyed.
  explicit EditHistory(ParamTable& table, ChangeSink* sink = nullptr, HistoryLimits limits = {}, WallClock clock = {});
  ~EditHistory() override;
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  void Edited(ParamAddress address, std::uint16_t before, std::uint16_t after) override;

  /// Closes any open step; the edits until EndStep form the next one.
  void BeginStep();
  /// Closes the open step; one that changed nothing is dropped.
  void EndStep();
  /// Called when an edit came outside BeginStep/EndStep and opened a step;
  /// the owner closes it once the action that made it is over.
  void SetStepOpenedHandler(std::function<void()> handler) { stepOpened_ = std::move(handler); }
  /// Called whenever the undo or redo stack changed.
  void SetChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }
  /// Told the words an undo or redo wrote, so that whoever shows them shows them anew.
  void SetAppliedHandler(std::function<void(const std::vector<ParamChange>&)> handler) {
    applied_ = std::move(handler);
  }

  /// A job that changes many values at once was requested: the values now
  /// are what its step goes back to.
  void BeginSnapshot(StepKind kind);
  /// The job's values were read back: its step is what changed since.
  void EndSnapshot();
  [[nodiscard]] bool SnapshotPending() const { return snapshotKind_.has_value(); }

  /// A value arrived from the console; one that differs from what the
  /// history knew and is no pending PC edit is recorded as the console's.
  void ConsoleValue(ParamAddress address);
  /// A complete read after connecting begins: values arriving are not recorded one by one.
  void BeginReload();
  /// The complete read ended, from the console known by `identity`: the same
  /// console as before records what changed while away; another one clears the history.
  Reload EndReload(const std::string& identity);

  [[nodiscard]] const HistoryStep* NextUndo() const;
  [[nodiscard]] const HistoryStep* NextRedo() const;
  /// The words of the next undo (redo) that no longer hold what the step left (held before it).
  [[nodiscard]] std::vector<ParamAddress> UndoConflicts() const;
  [[nodiscard]] std::vector<ParamAddress> RedoConflicts() const;
  /// Takes the next step back; conflicting words are overwritten only when
  /// `overwriteConflicts`, else they keep the console's value. False when there was none.
  bool Undo(bool overwriteConflicts);
  bool Redo(bool overwriteConflicts);
  /// The conflicts of undoing every step down to step `number`, and doing it.
  /// Nothing is undone when `number` is not on the undo stack.
  [[nodiscard]] std::vector<ParamAddress> ConflictsBackTo(std::uint64_t number) const;
  int UndoBackTo(std::uint64_t number, bool overwriteConflicts);

  void Clear();
  [[nodiscard]] std::size_t undoCount() const { return undo_.size(); }
  [[nodiscard]] std::size_t redoCount() const { return redo_.size(); }

 private:
  enum class Direction { kBack, kForward };
  /// The steps that undoing to `number` takes, newest first; empty when it is not on the stack.
  [[nodiscard]] std::vector<const HistoryStep*> StepsBackTo(std::uint64_t number) const;
  [[nodiscard]] std::vector<ParamAddress> Conflicts(const std::vector<const HistoryStep*>& steps, Direction direction) const;
  void Apply(const HistoryStep& step, Direction direction, bool overwriteConflicts);
  void Push(HistoryStep step);
  void Trim();
  void Send(ChangeSource source, std::uint64_t step, std::vector<ParamChange> changes);

  /// Merges an edit into `collected` (one change per address).
  void Collect(ParamAddress address, std::uint16_t before, std::uint16_t after);
  std::vector<ParamChange> TakeCollected();

  ParamTable& table_;
  ChangeSink* sink_;
  HistoryLimits limits_;
  WallClock clock_;
  std::function<void()> stepOpened_;
  std::function<void()> changed_;
  std::function<void(const std::vector<ParamChange>&)> applied_;

  std::deque<HistoryStep> undo_;
  std::vector<HistoryStep> redo_;
  std::size_t keptChanges_ = 0;
  std::uint64_t lastNumber_ = 0;

  bool stepOpen_ = false;
  bool applying_ = false;
  std::vector<ParamChange> collected_;
  std::array<int, kParamCount> collectedIndex_;

  std::optional<StepKind> snapshotKind_;
  std::vector<std::uint16_t> snapshot_;

  bool reloading_ = false;
  std::string identity_;
  /// What the history last knew of each word.
  std::array<std::uint16_t, kParamCount> known_{};
};

}  // namespace rmt4
