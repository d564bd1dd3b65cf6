#pragma once

#include <QImage>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "history/change_log.h"
#include "history/edit_history.h"
#include "i18n/label_id.h"
#include "link/link_worker.h"
#include "ui/controls/offscreen_buffer.h"
#include "ui/editors/editor_panels.h"

class QMenu;

namespace rmt4::ui {

class SkinnedButton;
class ProgressWindow;
class ChannelEditorFrame;
class SkinnedLabel;
class GuiLinkOwner;
class StripBank;
class HistoryWindow;
class EditGestures;
class UndoKeys;
class WindowOscHost;

/// The main window: a borderless window over one background picture with
/// the strips, the top bar's buttons and the title label. It starts
/// the link, turns the link's notifications into display updates and strip
/// edits into parameter writes, and stops the link when the user confirms
/// closing.
class MainWindow final : public QWidget {
 public:
  /// Starts the link with these options; the channel editor frame takes its
  /// panels from `makePanels`. The day's change log goes to the state folder
  /// of `linkOptions.sceneFolders`.
  explicit MainWindow(LinkWorker::Options linkOptions, const EditorPanelFactory& makePanels = MakeEditorPanels);
  ~MainWindow() override;

  /// Restores the window and brings it to the front (a second start asks for this).
  void BringToFront();
  /// The link reaches the console model inside the program: the window title
  /// and the title label say so, in the current language.
  void ShowOffline();
  /// Asked when the user closes the window, before anything else: nothing
  /// for the usual "Whether to exit the program!", else whether to close.
  void SetCloseQuestion(std::function<std::optional<bool>()> question) { closeQuestion_ = std::move(question); }

  /// The "Tape Down" menu with its check marks as the parameters stand now;
  /// each action's data is its command (5124..5128).
  [[nodiscard]] std::unique_ptr<QMenu> BuildTapeMenu();

  [[nodiscard]] LinkWorker& link() { return *link_; }
  [[nodiscard]] ProgressWindow& progressWindow() { return *progress_; }
  [[nodiscard]] SkinnedButton* button(int index) { return buttons_[index]; }
  [[nodiscard]] SkinnedLabel* titleLabel() { return title_; }
  [[nodiscard]] StripBank& strips() { return *strips_; }
  [[nodiscard]] ChannelEditorFrame& editorFrame() { return *editorFrame_; }
  /// Where every finished step of this window's edits, undos and the console's changes is to go.
  [[nodiscard]] ChangeLog& changeLog() { return *changeLog_; }
  [[nodiscard]] SkinnedButton* historyButton() { return historyButton_; }
  /// The History window, opened by the History button and Ctrl+H (made at the first opening).
  [[nodiscard]] HistoryWindow* historyWindow() { return historyWindow_; }
  void ShowHistory();
  [[nodiscard]] QSize referenceSize() const { return reference_.size(); }

  /// Undoes every step down to `step` (a number of the history's records),
  /// asking once about values the console changed since.
  void UndoBackTo(std::uint64_t step);
  [[nodiscard]] EditHistory& history() { return *history_; }
  /// The top bar's undo (`back`) or redo button.
  [[nodiscard]] SkinnedButton* undoButton(bool back) { return undoButtons_[back ? 0 : 1]; }
  /// The OSC server's host: clients edit as the window does.
  [[nodiscard]] WindowOscHost& osc() { return *osc_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Layout();
  void CreateTopBar();
  void SkinTopBar();
  void OnUiNotify(int code, std::intptr_t argument);
  void ShowStatus(int status);
  /// What the link tries while searching (a transport and its address, port or device).
  void ShowSearchTarget(const QString& target);
  [[nodiscard]] LabelId StatusLabel(int status) const;
  /// "RMT-4" and how the console is reached.
  [[nodiscard]] QString TitleText() const;
  /// `text` in the status field for `shownMs`, then the link status again;
  /// `tip` (the text itself when empty) says it in full.
  void ShowWarning(const QString& text, int shownMs, const QString& tip = {});
  /// How many values a scene upload changed and which the console did not confirm.
  void ShowSceneUploaded();
  /// A note in the status field for a few seconds.
  void ShowStatusNote(LabelId note);
  void ChooseConsole();
  void OnButton(int index);
  void OnControlEdited(int strip, int code);
  void RunTapeCommand(int command);
  void Retranslate();
  void ShowAbout();
  void ShowMainWin();
  /// Opens the channel editor frame on the channel of strip `strip`, if that channel has an editor.
  void OpenEditor(int strip);
  /// Opens the channel editor frame on editor channel `channel` (0..18), if it has an editor;
  /// the keyboard goes to the editor when it was closed.
  void OpenChannel(int channel);
  /// Clicks the MUTE of the channel the keyboard is on: the edited one, or the focused control's strip.
  void MuteFocusedChannel();
  /// Escape in the editor: back to the strips, with the keyboard on the edited channel's ENTER.
  void LeaveEditor();
  /// Tab walks the top bar, the strips from left to right and then the editor.
  void OrderTabStops();
  /// The shortcut keys in the tooltips of what they choose or open.
  void ShowShortcutTips();
  void ValueArrived(ParamAddress address);
  /// Tells the OSC host what the status field and title say now.
  void TellOscStatus();

  // Undo and redo (main_window_undo.cpp).
  void CreateHistory();
  void UndoOrRedo(bool back);
  void RefreshUndoButtons();
  void PlaceUndoButtons(double sx, double sy);
  /// A job that changes many values was requested (called on the requesting thread).
  void OnJobRequested(LinkJob job);
  /// The status changed: a connection's complete read begins.
  void FollowStatusInHistory(int before, int status);
  void FollowDataReloaded();
  void FollowValueInHistory(ParamAddress address);

  const QImage reference_;  // bitmap 133: its size is the reference size of the layout
  OffscreenBuffer background_;  // the reference stretched to the client size
  ProgressWindow* progress_;
  // Outlives the link, whose threads may still record into it until it stops.
  std::unique_ptr<ChangeLog> changeLog_;
  std::unique_ptr<GuiLinkOwner> owner_;
  std::unique_ptr<LinkWorker> link_;
  std::unique_ptr<StripBank> strips_;
  ChannelEditorFrame* editorFrame_ = nullptr;
  std::array<SkinnedButton*, 8> buttons_{};
  SkinnedButton* historyButton_ = nullptr;
  HistoryWindow* historyWindow_ = nullptr;
  SkinnedLabel* title_ = nullptr;
  int status_ = static_cast<int>(LinkStatus::Starting);
  QString searchTarget_;
  /// The last transport and address tried: how the console is reached once found.
  QString reachedVia_;
  QTimer editWarningTimer_;  // how long "not confirmed" stays in the status field
  QString warningText_;      // the note it shows, its tip and until when
  QString warningTip_;
  QDeadlineTimer warningUntil_{0};
  std::function<std::optional<bool>()> closeQuestion_;
  bool closeConfirmed_ = false;
  bool offline_ = false;

  std::unique_ptr<EditHistory> history_;
  // After the history: they are gone before it is.
  std::unique_ptr<EditGestures> gestures_;
  std::unique_ptr<UndoKeys> undoKeys_;
  // After the history: its server stops before the history goes.
  std::unique_ptr<WindowOscHost> osc_;
  std::array<SkinnedButton*, 2> undoButtons_{};
  /// How the console whose complete read is under way was reached: told to
  /// the history when the read ends, so it can tell another console from the last.
  std::optional<QString> readingFrom_;
  /// The words an effect program recall reads back; its step ends when all have come.
  std::set<ParamAddress> awaitedEffectWords_;
};

}  // namespace rmt4::ui
