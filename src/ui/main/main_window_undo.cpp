// Undo and redo in the main window: the history of the link's table, the
// gestures that make its steps, the keys and top-bar buttons that take them
// back, and what the link tells it (jobs, reads, values from the console).
#include "history/step_text.h"
#include "ui/controls/skinned_button.h"
#include "ui/main/edit_gestures.h"
#include "ui/main/main_window.h"
#include "ui/main/undo_keys.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

// The words an effect program recall reads back: the program type and its two parameters.
constexpr int kEffectWordsRead = 3;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void MainWindow::CreateHistory() {
  history_ = std::make_unique<EditHistory>(link_->params(), changeLog_.get());
  gestures_ = std::make_unique<EditGestures>(*history_);
  undoKeys_ = std::make_unique<UndoKeys>(*this, [this](bool back) { UndoOrRedo(back); });
  history_->SetChangedHandler([this] { RefreshUndoButtons(); });
  // The controls show what an undo wrote at once, as they show what the console sends.
  history_->SetAppliedHandler([this](const std::vector<ParamChange>& written) {
    for (const ParamChange& change : written) ValueArrived(change.address);
  });
  link_->jobs().SetRequestObserver([this](LinkJob job) { OnJobRequested(job); });
}

void MainWindow::RefreshUndoButtons() {
  if (undoButtons_[0] == nullptr) return;  // the top bar comes with the first layout
  const auto refresh = [](SkinnedButton& button, const HistoryStep* step, bool back) {
    button.setEnabled(step != nullptr);
    button.setToolTip(step != nullptr ? FromUtf8(UndoTip(*step, back))
                                      : Translated(back ? LabelId::NothingToUndo : LabelId::NothingToRedo));
  };
  refresh(*undoButtons_[0], history_->NextUndo(), true);
  refresh(*undoButtons_[1], history_->NextRedo(), false);
}

void MainWindow::UndoOrRedo(bool back) {
  // A burst of steps still open counts as finished.
  history_->EndStep();
  const std::vector<ParamAddress> conflicts = back ? history_->UndoConflicts() : history_->RedoConflicts();
  const bool overwrite = !conflicts.empty() && ShowMessageBox(this, MessageStyle::YesNo,
                                                              FromUtf8(ChangedOnConsoleQuestion(conflicts, back)),
                                                              Translated(LabelId::Tip)) == MessageButton::Yes;
  back ? history_->Undo(overwrite) : history_->Redo(overwrite);
}

void MainWindow::UndoBackTo(std::uint64_t step) {
  history_->EndStep();
  const std::vector<ParamAddress> conflicts = history_->ConflictsBackTo(step);
  const bool overwrite = !conflicts.empty() && ShowMessageBox(this, MessageStyle::YesNo,
                                                              FromUtf8(ChangedOnConsoleQuestion(conflicts, true)),
                                                              Translated(LabelId::Tip)) == MessageButton::Yes;
  history_->UndoBackTo(step, overwrite);
}

void MainWindow::OnJobRequested(LinkJob job) {
  // Other jobs are requested by the link worker itself, on its thread: nothing to follow there.
  switch (job) {
    case LinkJob::UploadScene:
      history_->BeginSnapshot(StepKind::kSceneUpload);
      break;
    case LinkJob::RecallMode:
      history_->BeginSnapshot(StepKind::kModeRecall);
      break;
    case LinkJob::RecallFxPreset1:
    case LinkJob::RecallFxPreset2: {
      // The recall reads back only the program's words, and posts no reload at its end.
      history_->BeginSnapshot(StepKind::kEffectRecall);
      const ParamAddress first = job == LinkJob::RecallFxPreset1 ? address::kFx1ProgramType : address::kFx2ProgramType;
      awaitedEffectWords_.clear();
      for (int k = 0; k < kEffectWordsRead; ++k) awaitedEffectWords_.insert(static_cast<ParamAddress>(first + k));
      break;
    }
    default:
      break;
  }
}

void MainWindow::FollowStatusInHistory(int before, int status) {
  const auto searching = [](int s) {
    return s == static_cast<int>(LinkStatus::Searching) || s == static_cast<int>(LinkStatus::Starting);
  };
  // After a search the link reads the whole console; a console that only fell silent is read no more.
  if (status != static_cast<int>(LinkStatus::Connected) || !searching(before)) return;
  readingFrom_ = searchTarget_.isEmpty() ? TitleText() : searchTarget_;
  history_->BeginReload();
}

void MainWindow::FollowDataReloaded() {
  if (history_->SnapshotPending()) {
    awaitedEffectWords_.clear();
    history_->EndSnapshot();
    return;
  }
  if (!readingFrom_) return;
  const EditHistory::Reload reload = history_->EndReload(readingFrom_->toStdString());
  readingFrom_.reset();
  TellOscStatus();
  if (reload == EditHistory::Reload::kOtherConsole) ShowStatusNote(LabelId::HistoryClearedOtherConsole);
}

void MainWindow::FollowValueInHistory(ParamAddress address) {
  if (awaitedEffectWords_.erase(address) > 0 && awaitedEffectWords_.empty()) history_->EndSnapshot();
  history_->ConsoleValue(address);
}

}  // namespace rmt4::ui
