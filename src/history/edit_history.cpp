#include "history/edit_history.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "values/own_bits.h"
#include "values/word_fields.h"

namespace rmt4 {
namespace {

// Words of the console's identity and mode machinery that its settings ride on.
constexpr std::array<ParamAddress, 5> kNotFollowed{1201, 1202, address::kCurrentMode, address::kModeOperation,
                                                   address::kKeepAlive};

std::int64_t UnixMsNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

/// What a word should hold after the step (`direction` forward) or before it.
std::uint16_t Target(const ParamChange& change, bool back) { return back ? change.before : change.after; }
std::uint16_t Left(const ParamChange& change, bool back) { return back ? change.after : change.before; }

}  // namespace

bool IsHistoryWord(ParamAddress address) {
  return IsValidAddress(address) && !IsReadOnlyWord(address) &&
         std::find(kNotFollowed.begin(), kNotFollowed.end(), address) == kNotFollowed.end();
}

EditHistory::EditHistory(ParamTable& table, ChangeSink* sink, HistoryLimits limits, WallClock clock)
    : table_(table), sink_(sink), limits_(limits), clock_(clock ? std::move(clock) : WallClock(UnixMsNow)) {
  collectedIndex_.fill(-1);
  for (ParamAddress a = 0; a < kParamCount; ++a) known_[a] = table_.Value(a);
  table_.SetEditListener(this);
}

EditHistory::~EditHistory() {
  if (table_.editListener() == this) table_.SetEditListener(nullptr);
}

void EditHistory::Edited(ParamAddress address, std::uint16_t before, std::uint16_t after) {
  if (!IsValidAddress(address)) return;
  known_[address] = after;
  if (!IsHistoryWord(address)) return;
  if (!applying_ && !stepOpen_) {
    stepOpen_ = true;
    if (stepOpened_) stepOpened_();
  }
  Collect(address, before, after);
}

void EditHistory::Collect(ParamAddress address, std::uint16_t before, std::uint16_t after) {
  int& index = collectedIndex_[address];
  if (index >= 0) {
    collected_[static_cast<std::size_t>(index)].after = after;
    return;
  }
  index = static_cast<int>(collected_.size());
  collected_.push_back({address, before, after});
}

std::vector<ParamChange> EditHistory::TakeCollected() {
  std::vector<ParamChange> changes;
  changes.reserve(collected_.size());
  for (const ParamChange& change : collected_) {
    collectedIndex_[change.address] = -1;
    // A word moved and brought back within the step did not change.
    if (change.before != change.after) changes.push_back(change);
  }
  collected_.clear();
  return changes;
}

void EditHistory::BeginStep() {
  EndStep();
  stepOpen_ = true;
}

void EditHistory::EndStep() {
  if (!stepOpen_) return;
  stepOpen_ = false;
  std::vector<ParamChange> changes = TakeCollected();
  if (changes.empty()) return;
  Push({++lastNumber_, StepKind::kGesture, std::move(changes)});
}

void EditHistory::Push(HistoryStep step) {
  Send(ChangeSource::kPc, step.number, step.changes);
  for (const HistoryStep& dropped : redo_) keptChanges_ -= dropped.changes.size();
  redo_.clear();
  keptChanges_ += step.changes.size();
  undo_.push_back(std::move(step));
  Trim();
  if (changed_) changed_();
}

void EditHistory::Trim() {
  // The oldest steps go first; the newest one stays even when it alone is over the bound.
  while (undo_.size() > 1 && (undo_.size() > limits_.steps || keptChanges_ > limits_.changes)) {
    keptChanges_ -= undo_.front().changes.size();
    undo_.pop_front();
  }
}

void EditHistory::Send(ChangeSource source, std::uint64_t step, std::vector<ParamChange> changes) {
  if (sink_ == nullptr || changes.empty()) return;
  sink_->Record({clock_(), source, step, std::move(changes)});
}

void EditHistory::BeginSnapshot(StepKind kind) {
  EndStep();
  EndSnapshot();
  snapshotKind_ = kind;
  snapshot_.resize(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) snapshot_[a] = table_.Value(a);
}

void EditHistory::EndSnapshot() {
  if (!snapshotKind_) return;
  HistoryStep step{0, *snapshotKind_, {}};
  snapshotKind_.reset();
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    const std::uint16_t now = table_.Value(a);
    if (IsHistoryWord(a) && now != snapshot_[a]) step.changes.push_back({a, snapshot_[a], now});
    known_[a] = now;
  }
  snapshot_.clear();
  if (step.changes.empty()) return;
  step.number = ++lastNumber_;
  Push(std::move(step));
}

void EditHistory::ConsoleValue(ParamAddress address) {
  if (!IsHistoryWord(address) || reloading_ || snapshotKind_ || table_[address].Dirty()) return;
  const std::uint16_t now = table_.Value(address);
  if (now == known_[address]) return;
  Send(ChangeSource::kConsole, 0, {{address, known_[address], now}});
  known_[address] = now;
}

void EditHistory::BeginReload() { reloading_ = true; }

EditHistory::Reload EditHistory::EndReload(const std::string& identity) {
  reloading_ = false;
  Reload reload = Reload::kSameConsole;
  std::vector<ParamChange> whileAway;
  if (identity_.empty()) {
    reload = Reload::kFirst;
  } else if (identity != identity_) {
    reload = Reload::kOtherConsole;
    Clear();
  }
  identity_ = identity;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    const std::uint16_t now = table_.Value(a);
    if (reload == Reload::kSameConsole && IsHistoryWord(a) && now != known_[a] && !table_[a].Dirty()) {
      whileAway.push_back({a, known_[a], now});
    }
    known_[a] = now;
  }
  Send(ChangeSource::kConsole, 0, std::move(whileAway));
  return reload;
}

const HistoryStep* EditHistory::NextUndo() const {
  return undo_.empty() ? nullptr : &undo_.back();
}

const HistoryStep* EditHistory::NextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }

std::vector<const HistoryStep*> EditHistory::StepsBackTo(std::uint64_t number) const {
  std::vector<const HistoryStep*> steps;
  for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
    steps.push_back(&*it);
    if (it->number == number) return steps;
  }
  return {};
}

std::vector<ParamAddress> EditHistory::Conflicts(const std::vector<const HistoryStep*>& steps,
                                                 Direction direction) const {
  const bool back = direction == Direction::kBack;
  // Later steps are taken back first: earlier ones are checked against what those leave.
  std::map<ParamAddress, std::uint16_t> left;
  const auto valueOf = [&](ParamAddress a) {
    const auto found = left.find(a);
    return found != left.end() ? found->second : table_.Value(a);
  };
  std::vector<ParamAddress> conflicts;
  for (const HistoryStep* step : steps) {
    for (const ParamChange& change : step->changes) {
      const std::uint16_t fields = ChangedFields(change.address, change.before, change.after);
      if ((valueOf(change.address) & fields) != (Left(change, back) & fields) &&
          std::find(conflicts.begin(), conflicts.end(), change.address) == conflicts.end()) {
        conflicts.push_back(change.address);
      }
    }
    for (const ParamChange& change : step->changes) {
      const std::uint16_t fields = ChangedFields(change.address, change.before, change.after);
      left[change.address] = ReplaceOwnBits(valueOf(change.address), Target(change, back), fields);
    }
  }
  return conflicts;
}

std::vector<ParamAddress> EditHistory::UndoConflicts() const {
  if (undo_.empty()) return {};
  return Conflicts({&undo_.back()}, Direction::kBack);
}

std::vector<ParamAddress> EditHistory::RedoConflicts() const {
  if (redo_.empty()) return {};
  return Conflicts({&redo_.back()}, Direction::kForward);
}

std::vector<ParamAddress> EditHistory::ConflictsBackTo(std::uint64_t number) const {
  return Conflicts(StepsBackTo(number), Direction::kBack);
}

void EditHistory::Apply(const HistoryStep& step, Direction direction, bool overwriteConflicts) {
  const bool back = direction == Direction::kBack;
  const std::vector<ParamAddress> conflicts = overwriteConflicts ? std::vector<ParamAddress>{}
                                                                 : Conflicts({&step}, direction);
  applying_ = true;
  // Backwards in reverse order, so a word written twice ends as it began.
  const auto write = [&](const ParamChange& change) {
    if (std::find(conflicts.begin(), conflicts.end(), change.address) != conflicts.end()) return;
    const std::uint16_t held = table_.Value(change.address);
    const std::uint16_t value =
        ReplaceOwnBits(held, Target(change, back), ChangedFields(change.address, change.before, change.after));
    if (value != held) ParamSet(table_, change.address, value);
  };
  if (back) {
    std::for_each(step.changes.rbegin(), step.changes.rend(), write);
  } else {
    std::for_each(step.changes.begin(), step.changes.end(), write);
  }
  applying_ = false;
  std::vector<ParamChange> written = TakeCollected();
  if (applied_) applied_(written);
  Send(back ? ChangeSource::kUndo : ChangeSource::kRedo, step.number, std::move(written));
}

bool EditHistory::Undo(bool overwriteConflicts) {
  EndStep();
  EndSnapshot();
  if (undo_.empty()) return false;
  HistoryStep step = std::move(undo_.back());
  undo_.pop_back();
  Apply(step, Direction::kBack, overwriteConflicts);
  redo_.push_back(std::move(step));
  if (changed_) changed_();
  return true;
}

bool EditHistory::Redo(bool overwriteConflicts) {
  EndStep();
  EndSnapshot();
  if (redo_.empty()) return false;
  HistoryStep step = std::move(redo_.back());
  redo_.pop_back();
  Apply(step, Direction::kForward, overwriteConflicts);
  undo_.push_back(std::move(step));
  if (changed_) changed_();
  return true;
}

int EditHistory::UndoBackTo(std::uint64_t number, bool overwriteConflicts) {
  EndStep();
  EndSnapshot();
  const std::size_t count = StepsBackTo(number).size();
  for (std::size_t i = 0; i < count; ++i) Undo(overwriteConflicts);
  return static_cast<int>(count);
}

void EditHistory::Clear() {
  EndStep();
  snapshotKind_.reset();
  snapshot_.clear();
  undo_.clear();
  redo_.clear();
  keptChanges_ = 0;
  if (changed_) changed_();
}

}  // namespace rmt4
