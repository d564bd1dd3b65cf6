#include "ui/main/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "i18n/label_text.h"
#include "platform/ipv4_address.h"
#include "protocol/address_map.h"
#include "protocol/wire_trace_line.h"
#include "rmt4_version.h"
#include "transport/local_address.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/text_format.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/console_chooser.h"
#include "ui/editors/network_settings_dialog.h"
#include "ui/editors/system_window.h"
#include "ui/main/edit_gestures.h"
#include "ui/main/gui_link_owner.h"
#include "ui/main/history_window.h"
#include "ui/main/input_strip.h"
#include "ui/main/output_strip.h"
#include "ui/main/progress_window.h"
#include "ui/main/strip_bank.h"
#include "ui/main/undo_keys.h"
#include "ui/main/window_osc_host.h"
#include "ui/main/window_shortcuts.h"
#include "ui/platform/artwork.h"
#include "ui/platform/edge_resize_grip.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "ui/platform/tab_chain.h"
#include "ui/platform/translated.h"
#include "ui/platform/window_message.h"
#include "values/label_format.h"
#include "values/meter_levels.h"
#include "values/scene_changes.h"

namespace rmt4::ui {
namespace {

constexpr std::uint32_t kCaptionFlags = 0x50000025;
constexpr std::uint32_t kCaptionColour = 0xFAFFFFFF;
constexpr std::uint32_t kTitleFlags = 0x40000124;
constexpr std::uint32_t kTitleColour = 0xFF000000;

enum Button : int { kClose, kMaximise, kMinimise, kStatus, kSystemSet, kMainWin, kTapeDown, kNetConf, kHistory, kUndo, kRedo };

// Reference rectangles (left, top, right, bottom) of the top bar's text buttons 3..7.
constexpr QRect kTextButtonRects[5] = {QRect(QPoint(1054, 31), QPoint(1133, 49)), QRect(QPoint(10, 31), QPoint(89, 49)),
                                       QRect(QPoint(91, 31), QPoint(170, 49)), QRect(QPoint(172, 31), QPoint(251, 49)),
                                       QRect(QPoint(253, 31), QPoint(332, 49))};
// The History button follows the text buttons in the same row.
constexpr QRect kHistoryRect(QPoint(334, 31), QPoint(413, 49));
constexpr QRect kTitleRect(QPoint(7, 0), QPoint(206, 28));
// Undo and redo, left of the status field.
constexpr QRect kUndoRects[2] = {QRect(QPoint(990, 31), QPoint(1019, 49)), QRect(QPoint(1022, 31), QPoint(1051, 49))};
constexpr int kCaptionBandHeight = 31;
// The editor frame stands where the strips do, under the top bar.
constexpr int kEditorFrameTop = 51;
// Below this scale the layout is refused and the contents keep their last layout.
constexpr double kSmallestScale = 0.5;
// Addresses 0..1213 are the ones the windows show.
constexpr ParamAddress kLastShownAddress = 1213;

enum TapeCommand : int { kTapeMp3 = 5124, kTapeUsb = 5125, kFootFx1 = 5126, kFootFx2 = 5127, kFootBoth = 5128 };

int Trunc(double value) { return static_cast<int>(value); }

const char* TitleSuffix(ConnectionKind kind) {
  switch (kind) {
    case kUsbHid:
      return "-USB";
    case kNetwork:
      return "-NET";
    case kSerialLongTiming:
      return "-BT";
    default:
      return "-COM";
  }
}

}  // namespace

MainWindow::MainWindow(LinkWorker::Options linkOptions, const EditorPanelFactory& makePanels)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), reference_(LoadArtwork(133)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(QStringLiteral("RMT-4"));
  setWindowIcon(QIcon(QPixmap::fromImage(LoadArtwork(128))));

  progress_ = new ProgressWindow(this);
  const std::filesystem::path stateFolder = linkOptions.sceneFolders.stateDirectory;
  owner_ = std::make_unique<GuiLinkOwner>(*this, *progress_);
  owner_->SetSearchTargetHandler([this](const QString& target) { ShowSearchTarget(target); });
  link_ = std::make_unique<LinkWorker>(*owner_, std::move(linkOptions));
  ChangeLogOptions logOptions;
  logOptions.folder = stateFolder;
  logOptions.valueAt = [&params = link_->params()](ParamAddress address) { return params.Value(address); };
  logOptions.reportProblem = [this](const std::string& problem) {
    QMetaObject::invokeMethod(
        this,
        [this, problem] {
          constexpr int kShownMs = 10000;
          ShowWarning(Translated(LabelId::ChangeLogNotWrittenFormat).replace(QStringLiteral("%s"), QString::fromStdString(problem)),
                      kShownMs);
        },
        Qt::QueuedConnection);
  };
  changeLog_ = std::make_unique<ChangeLog>(std::move(logOptions));
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this), &QShortcut::activated, this, &MainWindow::ShowHistory);
  strips_ = std::make_unique<StripBank>(this, link_->params());
  editorFrame_ = new ChannelEditorFrame(this, link_->params(), link_->jobs(), makePanels);
  editorFrame_->move(0, kEditorFrameTop);
  CreateHistory();
  osc_ = std::make_unique<WindowOscHost>(link_->params(), *history_, [this](ParamAddress address) { ValueArrived(address); });
  editWarningTimer_.setSingleShot(true);
  connect(&editWarningTimer_, &QTimer::timeout, this, [this] {
    warningUntil_.setRemainingTime(0);  // the timer may fire a little early
    ShowStatus(status_);
  });

  resize(reference_.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  Layout();
  OrderTabStops();
  new WindowShortcuts(*this, {.chooseChannel = [this](int channel) { OpenChannel(channel); },
                              .muteFocusedChannel = [this] { MuteFocusedChannel(); },
                              .leaveEditor = [this] { LeaveEditor(); }});
  // Dragging the edges stops where the layout would stop following the window.
  EdgeResizeGrip::AddAll(this, QSize(static_cast<int>(std::ceil(reference_.width() * kSmallestScale)),
                                     static_cast<int>(std::ceil(reference_.height() * kSmallestScale))));
  link_->StartLink();
  PostWindowMessage(this, kRetranslate, static_cast<int>(CurrentLanguage()), static_cast<int>(CurrentLanguage()));
}

MainWindow::~MainWindow() {
  osc_->Stop();
  owner_->BeginClosing();
  link_->StopLink();
  // It listens to the change log, which goes before the window's children do.
  delete historyWindow_;
}

void MainWindow::ShowOffline() {
  offline_ = true;
  setWindowTitle(TitleText());
  if (title_ != nullptr) title_->SetText(TitleText());
  TellOscStatus();
}

void MainWindow::TellOscStatus() {
  osc_->SetStatus(offline_ ? OscLinkStatus{.state = "offline", .transport = "offline", .console = ""}
                           : OscStatusOf(static_cast<LinkStatus>(status_), reachedVia_.toStdString(),
                                         link_->context().state.device.deviceType.load()));
}

QString MainWindow::TitleText() const {
  if (offline_) return QStringLiteral("RMT-4-") + Translated(LabelId::Offline);
  return QStringLiteral("RMT-4") + TitleSuffix(link_->context().connectionKind);
}

void MainWindow::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

bool MainWindow::event(QEvent* event) {
  if (const WindowMessage* message = AsWindowMessage(event)) {
    switch (message->message()) {
      case kUiNotify:
        OnUiNotify(static_cast<int>(message->wParam()), message->lParam());
        return true;
      case kButtonClicked:
        OnButton(static_cast<int>(message->lParam()));
        return true;
      case kControlEdited:
        OnControlEdited(static_cast<int>(message->wParam()), static_cast<int>(message->lParam()));
        return true;
      case kRetranslate:
        Retranslate();
        return true;
      default:
        break;
    }
  }
  return QWidget::event(event);
}

void MainWindow::OnUiNotify(int code, std::intptr_t argument) {
  switch (static_cast<UiNotify>(code)) {
    case UiNotify::Status:
      ShowStatus(static_cast<int>(argument));
      break;
    case UiNotify::ChooseConsole:
      ChooseConsole();
      break;
    case UiNotify::EditNotConfirmed:
      ShowStatusNote(LabelId::EditNotConfirmed);
      break;
    case UiNotify::DataReloaded:
      FollowDataReloaded();
      break;
    case UiNotify::SceneUploaded:
      ShowSceneUploaded();
      break;
    case UiNotify::ConsoleBusy:
      ShowSearchTarget(Translated(LabelId::ConsoleBusy) + QStringLiteral(" (") +
                       QString::fromStdString(FormatIpv4(static_cast<std::uint32_t>(argument))) + QStringLiteral(")"));
      break;
    case UiNotify::ValueArrived:
      if (argument >= 0 && argument < static_cast<std::intptr_t>(kParamCount)) {
        ValueArrived(static_cast<ParamAddress>(argument));
      }
      break;
    default:
      break;
  }
}

void MainWindow::ValueArrived(ParamAddress address) {
  FollowValueInHistory(address);
  strips_->ValueArrived(address);
  if (address == address::kLevelMeters) {
    const MeterLevels levels = MeterLevelsFromWord(link_->params().Value(address));
    editorFrame_->SetMeterLevels(levels.left, levels.right);
  }
  editorFrame_->ValueArrived(address);
}

void MainWindow::ShowSearchTarget(const QString& target) {
  // Queued: it may come in after the console was found.
  if (status_ == static_cast<int>(LinkStatus::Connected)) return;
  searchTarget_ = target;
  if (!target.isEmpty()) reachedVia_ = target;
  ShowStatus(status_);
}

void MainWindow::ShowStatus(int status) {
  FollowStatusInHistory(status_, status);
  status_ = status;
  editWarningTimer_.stop();
  const bool connected = status == static_cast<int>(LinkStatus::Connected);
  // While searching, the title says what is being tried, the status button's tip says it in full.
  if (connected) searchTarget_.clear();
  TellOscStatus();
  title_->SetText(searchTarget_.isEmpty() ? TitleText() : TitleText() + QStringLiteral("  ") + searchTarget_);
  SkinnedButton& statusButton = *buttons_[kStatus];
  statusButton.setToolTip(searchTarget_);
  statusButton.SetState(connected ? 2 : 1);
  statusButton.SetText(Translated(StatusLabel(status)));
  // Levels that no console stands behind any more must not look like sound.
  if (!connected) {
    strips_->outputStrip().SetMeterLevels(0, 0);
    editorFrame_->SetMeterLevels(0, 0);
  }
  // A note outlives a moment of silence: a modal question holds the link
  // still, and it says "not answering", then "connected", after every long one.
  if (connected && !warningUntil_.hasExpired()) {
    ShowWarning(warningText_, static_cast<int>(warningUntil_.remainingTime()), warningTip_);
  }
}

LabelId MainWindow::StatusLabel(int status) const {
  const auto linkStatus = static_cast<LinkStatus>(status);
  // No console is attached offline: nothing can be "Successful".
  if (offline_ && linkStatus == LinkStatus::Connected) return LabelId::Offline;
  return LinkStatusLabel(linkStatus);
}

void MainWindow::ShowStatusNote(LabelId note) {
  // Shown in the status field, not in a box: under a bad link several edits
  // may go unconfirmed in a row, and the show must go on. The control itself
  // snaps back when the console's value has been read again.
  constexpr int kShownMs = 3000;
  ShowWarning(Translated(note), kShownMs);
}

void MainWindow::ShowWarning(const QString& text, int shownMs, const QString& tip) {
  SkinnedButton& statusButton = *buttons_[kStatus];
  statusButton.SetState(1);
  statusButton.SetText(text);
  statusButton.setToolTip(tip.isEmpty() ? text : tip);
  warningText_ = text;
  warningTip_ = tip;
  warningUntil_.setRemainingTime(shownMs);
  editWarningTimer_.start(shownMs);
}

void MainWindow::ShowSceneUploaded() {
  const std::optional<SceneUploadOutcome> outcome = link_->jobs().UploadOutcome();
  if (!outcome) return;
  const auto unconfirmed = static_cast<int>(outcome->unconfirmed.size());
  // The field holds a dozen characters: the count that matters there, the sentence in the tip.
  const QString text = QString::fromStdString(unconfirmed == 0
                                                  ? FormatLabel(LabelId::SceneUploadedShortFormat, outcome->changes)
                                                  : FormatLabel(LabelId::SceneUnconfirmedShortFormat, unconfirmed));
  // The tip lists what the console does not hold, as many lines as a tip can show.
  constexpr int kListedChanges = 30;
  QString tip = QString::fromStdString(
      unconfirmed == 0 ? FormatLabel(LabelId::SceneUploadedFormat, outcome->changes)
                       : FormatLabel(LabelId::SceneUploadedUnconfirmedFormat, outcome->changes, unconfirmed));
  for (int i = 0; i < std::min(unconfirmed, kListedChanges); ++i) {
    tip += QStringLiteral("\n") + QString::fromStdString(SceneChangeInWords(outcome->unconfirmed[static_cast<std::size_t>(i)]));
  }
  if (unconfirmed > kListedChanges) tip += QStringLiteral("\n\u2026");
  // Long enough to outlast the question that follows the upload and to read the tip.
  constexpr int kShownMs = 20000;
  ShowWarning(text, kShownMs, tip);
}

void MainWindow::ShowHistory() {
  if (historyWindow_ == nullptr) {
    historyWindow_ = new HistoryWindow(*changeLog_, this);
    connect(historyWindow_, &HistoryWindow::undoBackToRequested, this, [this](quint64 step) { UndoBackTo(step); });
  }
  historyWindow_->show();
  historyWindow_->raise();
  historyWindow_->activateWindow();
}

void MainWindow::ChooseConsole() {
  const std::vector<std::uint32_t>& consoles = owner_->discoveredConsoles();
  if (consoles.empty()) return;
  ConsoleChooser chooser(consoles, this);
  chooser.exec();
  owner_->SetChosenConsole(chooser.chosenAddress());
}

void MainWindow::OnButton(int index) {
  switch (index) {
    case kClose:
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      break;
    case kMaximise:
      isMaximized() ? showNormal() : showMaximized();
      break;
    case kMinimise:
      showMinimized();
      break;
    case kMainWin:
      ShowMainWin();
      break;
    case kTapeDown: {
      const std::unique_ptr<QMenu> menu = BuildTapeMenu();
      const QWidget& anchor = *buttons_[kTapeDown];
      if (const QAction* chosen = menu->exec(anchor.mapToGlobal(QPoint(0, anchor.height())))) {
        RunTapeCommand(chosen->data().toInt());
      }
      break;
    }
    case kSystemSet: {
      SystemWindow system(*link_, *osc_, this);
      system.exec();
      break;
    }
    case kNetConf: {
      NetworkSettingsDialog netConf(link_->context().modules, PcSubnets, this);
      netConf.exec();
      break;
    }
    case kHistory:
      ShowHistory();
      break;
    case kUndo:
    case kRedo:
      UndoOrRedo(index == kUndo);
      break;
    default:
      break;  // the status display
  }
}

void MainWindow::ShowMainWin() {
  editorFrame_->hide();
  strips_->SetVisible(true);
  // Every control shows the table afresh at the worker's next cycle.
  ParamTable& params = link_->params();
  for (ParamAddress address = 0; address <= kLastShownAddress; ++address) params[address].received.store(true);
}

void MainWindow::OnControlEdited(int strip, int code) {
  if (code == static_cast<int>(StripCode::Enter)) {
    OpenEditor(strip);
  } else {
    strips_->ControlEdited(strip, code);
  }
}

void MainWindow::OpenEditor(int strip) {
  // The output strip opens the bus it shows.
  OpenChannel(strip == kOutputStrip ? kOutputStrip + strips_->OutputBus() : strip);
}

void MainWindow::OpenChannel(int channel) {
  if (!editorFrame_->CanOpen(channel)) return;
  const bool opening = editorFrame_->isHidden();
  strips_->SetVisible(false);
  editorFrame_->show();
  editorFrame_->SelectChannel(channel);
  if (opening) editorFrame_->TakeKeyboard();
}

void MainWindow::MuteFocusedChannel() {
  if (editorFrame_->isVisible()) {
    editorFrame_->ClickSelectedMute();
    return;
  }
  for (QWidget* w = QApplication::focusWidget(); w != nullptr && w != this; w = w->parentWidget()) {
    if (auto* strip = qobject_cast<StripBase*>(w)) {
      strip->button(StripCode::Mute).Click();
      return;
    }
  }
}

void MainWindow::LeaveEditor() {
  if (editorFrame_->isHidden()) return;
  const int channel = editorFrame_->selectedChannel();
  ShowMainWin();
  StripBase& strip = channel < kInputStripCount ? static_cast<StripBase&>(strips_->inputStrip(channel))
                                                : static_cast<StripBase&>(strips_->outputStrip());
  strip.button(StripCode::Enter).setFocus(Qt::OtherFocusReason);
}

void MainWindow::OrderTabStops() {
  std::vector<QWidget*> stops{buttons_[kMinimise], buttons_[kMaximise], buttons_[kClose],    buttons_[kSystemSet],
                              buttons_[kMainWin],  buttons_[kTapeDown], buttons_[kNetConf], historyButton_,
                              undoButtons_[0],     undoButtons_[1],     buttons_[kStatus]};
  for (int i = 0; i < kInputStripCount; ++i) {
    const std::vector<QWidget*> strip = strips_->inputStrip(i).TabStops();
    stops.insert(stops.end(), strip.begin(), strip.end());
  }
  const std::vector<QWidget*> output = strips_->outputStrip().TabStops();
  stops.insert(stops.end(), output.begin(), output.end());
  const std::vector<QWidget*> editor = editorFrame_->TabStops();
  stops.insert(stops.end(), editor.begin(), editor.end());
  ChainTabOrder(stops);
}

void MainWindow::ShowShortcutTips() {
  for (int i = 0; i < kInputStripCount; ++i) {
    strips_->inputStrip(i).button(StripCode::Enter)
        .setToolTip(WindowShortcuts::WithKey(ChannelEditorFrame::ChannelTitle(i), WindowShortcuts::ChannelKey(i)));
  }
  buttons_[kMainWin]->setToolTip(WindowShortcuts::WithKey(Translated(LabelId::MainWin), QKeySequence(Qt::Key_Escape)));
  historyButton_->setToolTip(WindowShortcuts::WithKey(Translated(LabelId::History), QKeySequence(Qt::CTRL | Qt::Key_H)));
}

std::unique_ptr<QMenu> MainWindow::BuildTapeMenu() {
  const ParamTable& params = link_->params();
  auto menu = std::make_unique<QMenu>(this);
  const auto addItem = [](QMenu* submenu, const QString& text, int command, bool checked) {
    QAction* action = submenu->addAction(text);
    action->setData(command);
    action->setCheckable(true);
    action->setChecked(checked);
  };
  // Only a value the console can hold marks an item: a recording device of
  // 0/1 and a foot switch of 1..3 (0 would otherwise tick "USB").
  const int recording = params.Value(address::kRecordingDevice);
  const int footSwitch = params.Value(address::kFootSwitch);
  QMenu* record = menu->addMenu(Translated(LabelId::Record));
  addItem(record, QStringLiteral("MP3"), kTapeMp3, recording == 0);
  addItem(record, QStringLiteral("USB"), kTapeUsb, recording == 1);
  QMenu* foot = menu->addMenu(Translated(LabelId::FootSw));
  addItem(foot, QStringLiteral("Fx1"), kFootFx1, footSwitch == 1);
  addItem(foot, QStringLiteral("Fx2"), kFootFx2, footSwitch == 2);
  addItem(foot, QStringLiteral("Fx1+Fx2"), kFootBoth, footSwitch == 3);
  return menu;
}

void MainWindow::RunTapeCommand(int command) {
  ParamTable& params = link_->params();
  const auto write = [&params](ParamAddress address, std::uint16_t value) { ParamSet(params, address, value); };
  switch (command) {
    case kTapeMp3:
    case kTapeUsb:
      write(address::kRecordingDevice, static_cast<std::uint16_t>(command - kTapeMp3));
      break;
    case kFootFx1:
    case kFootFx2:
    case kFootBoth:
      write(address::kFootSwitch, static_cast<std::uint16_t>(command - kTapeUsb));
      break;
    default:
      break;
  }
}

void MainWindow::Retranslate() {
  if (buttons_[kSystemSet] == nullptr) return;
  buttons_[kSystemSet]->SetText(Translated(LabelId::SystemSet));
  buttons_[kMainWin]->SetText(Translated(LabelId::MainWin));
  buttons_[kTapeDown]->SetText(Translated(LabelId::TapeDown));
  buttons_[kNetConf]->SetText(Translated(LabelId::NetConf));
  historyButton_->SetText(Translated(LabelId::History));
  // Buttons that show only a picture, named for screen readers.
  buttons_[kMinimise]->setAccessibleName(Translated(LabelId::WindowMinimise));
  buttons_[kMaximise]->setAccessibleName(Translated(LabelId::WindowMaximise));
  buttons_[kClose]->setAccessibleName(Translated(LabelId::WindowClose));
  undoButtons_[0]->setAccessibleName(Translated(LabelId::Undo));
  undoButtons_[1]->setAccessibleName(Translated(LabelId::Redo));
  ShowShortcutTips();
  if (historyWindow_ != nullptr) historyWindow_->Retranslate();
  if (offline_) ShowOffline();
  strips_->RefreshTexts();
  PostWindowMessage(editorFrame_, kRefreshTexts, 0, 0);
  RefreshUndoButtons();
  static constexpr LabelId kStatusTexts[] = {LabelId::Successful, LabelId::Searching, LabelId::Suspended,
                                             LabelId::NotAnswering, LabelId::Offline};
  if (const auto shown = MatchLabelText(buttons_[kStatus]->text().toStdString(), kStatusTexts)) {
    buttons_[kStatus]->SetText(Translated(*shown));
  }
}

void MainWindow::Layout() {
  if (reference_.isNull()) return;
  const double sx = static_cast<double>(width()) / reference_.width();
  const double sy = static_cast<double>(height()) / reference_.height();
  const double s = std::min(sx, sy);
  if (s < kSmallestScale) return;

  background_.StretchFrom(reference_, 0, 0, width(), height(), 0, 0, reference_.width(), reference_.height());
  const bool firstPass = buttons_[0] == nullptr;
  if (firstPass) CreateTopBar();
  strips_->Layout(s, sx, width());
  const QSize frameSize = ChannelEditorFrame::DesignSize();
  editorFrame_->SetScale(sx, sy);
  editorFrame_->setGeometry(0, Trunc(kEditorFrameTop * sy), Trunc(frameSize.width() * sx),
                            Trunc(frameSize.height() * sy));

  for (int j = kClose; j <= kMinimise; ++j) {
    const int side = Trunc(10 * s);
    buttons_[j]->setGeometry(Trunc(Trunc(width() - 29 * sx) - 46 * j * sx), Trunc(10 * sy), side, side);
  }
  const auto placeTextButton = [&](SkinnedButton& button, const QRect& r) {
    button.setGeometry(Trunc(r.left() * sx), Trunc(r.top() * sy), Trunc(r.width() * sx), Trunc(r.height() * sy));
    button.SetTextStyle(kCaptionFlags, Trunc(13 * sx), kCaptionFace, kCaptionColour);
  };
  for (int j = kStatus; j <= kNetConf; ++j) placeTextButton(*buttons_[j], kTextButtonRects[j - kStatus]);
  placeTextButton(*historyButton_, kHistoryRect);
  title_->setGeometry(Trunc(kTitleRect.left() * sx), Trunc(kTitleRect.top() * sy), Trunc(kTitleRect.width() * sx),
                      Trunc(kTitleRect.height() * sy));
  title_->SetTextStyle(kTitleFlags, Trunc(14 * sy), kCaptionFace, kTitleColour);
  PlaceUndoButtons(sx, sy);
  if (firstPass) SkinTopBar();
  update();
}

void MainWindow::PlaceUndoButtons(double sx, double sy) {
  for (std::size_t j = 0; j < undoButtons_.size(); ++j) {
    const QRect& r = kUndoRects[j];
    undoButtons_[j]->setGeometry(Trunc(r.left() * sx), Trunc(r.top() * sy), Trunc(r.width() * sx), Trunc(r.height() * sy));
    undoButtons_[j]->SetTextStyle(kCaptionFlags, Trunc(15 * sx), kCaptionFace, kCaptionColour);
  }
}

void MainWindow::CreateTopBar() {
  for (int j = 0; j < 8; ++j) {
    auto* button = new SkinnedButton(this);
    button->SetButtonIndex(j);
    if (j >= kStatus) button->SetAncestorLevel(1);
    buttons_[j] = button;
  }
  historyButton_ = new SkinnedButton(this);
  historyButton_->SetButtonIndex(kHistory);
  historyButton_->SetAncestorLevel(1);
  for (std::size_t j = 0; j < undoButtons_.size(); ++j) {
    auto* button = new SkinnedButton(this);
    button->SetButtonIndex(j == 0 ? kUndo : kRedo);
    button->SetAncestorLevel(1);
    button->SetText(j == 0 ? QStringLiteral("\u21B6") : QStringLiteral("\u21B7"));
    undoButtons_[j] = button;
  }
  RefreshUndoButtons();
  title_ = new SkinnedLabel(this);
  title_->SetAncestorLevel(1);
  title_->SetBackgroundSource(&background_);
  title_->SetText(QStringLiteral("RMT-4"));
}

void MainWindow::SkinTopBar() {
  // Skinned once placed: a button takes its frame count and caption layout
  // from its size at this moment.
  static constexpr int kImages[8] = {143, 144, 145, 164, 164, 164, 164, 164};
  for (int j = 0; j < 8; ++j) buttons_[j]->SetSkin(&background_, kImages[j]);
  historyButton_->SetSkin(&background_, kImages[kNetConf]);
  historyButton_->SetText(Translated(LabelId::History));
  for (SkinnedButton* button : undoButtons_) button->SetSkin(&background_, kImages[kStatus]);
  buttons_[kStatus]->SetState(1);
  buttons_[kStatus]->SetText(Translated(LabelId::Searching));
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Opaque: copied, not blended, which is most of a whole-window repaint.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), background_.image(), rect());
}

void MainWindow::resizeEvent(QResizeEvent*) { Layout(); }

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && event->position().y() < kCaptionBandHeight && !isMaximized() &&
      windowHandle() != nullptr) {
    setCursor(Qt::PointingHandCursor);
    windowHandle()->startSystemMove();
    unsetCursor();
  }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // The window has no caption bar, so its system menu opens from the caption band.
  if (event->pos().y() >= kCaptionBandHeight) return;
  QMenu menu(this);
  menu.addAction(Translated(LabelId::AboutProgram) + QStringLiteral("..."), this, &MainWindow::ShowAbout);
  menu.exec(event->globalPos());
}

void MainWindow::ShowAbout() {
  const QString line = Translated(LabelId::ProgramVersionFormat).replace(QStringLiteral("%s"), QString::fromLatin1(kVersion));
  ShowMessageBox(this, MessageStyle::Ok, line, Translated(LabelId::AboutProgram));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeConfirmed_) {
    event->accept();
    return;
  }
  event->ignore();
  const std::optional<bool> answered = closeQuestion_ ? closeQuestion_() : std::nullopt;
  const bool close = answered ? *answered
                              : ShowMessageBox(this, MessageStyle::YesNo, Translated(LabelId::ExitQuestion),
                                               Translated(LabelId::Tip)) == MessageButton::Yes;
  if (!close) return;
  hide();
  osc_->Stop();
  owner_->BeginClosing();
  link_->StopLink();
  closeConfirmed_ = true;
  event->accept();
}

}  // namespace rmt4::ui
