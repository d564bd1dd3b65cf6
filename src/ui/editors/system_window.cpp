#include "ui/editors/system_window.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableWidget>

#include "i18n/language.h"
#include "link/link_worker.h"
#include "protocol/address_map.h"
#include "ui/editors/cell_editor.h"
#include "ui/editors/console_palette.h"
#include "ui/editors/system_mode_list.h"
#include "ui/editors/system_osc_group.h"
#include "ui/editors/system_scene_list.h"
#include "ui/platform/artwork.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"
#include "ui/platform/window_message.h"
#include "values/system_noise_gate.h"

namespace rmt4::ui {
namespace {

constexpr QSize kClientSize(500, 400);

/// A rectangle given as (left, top, right, bottom), right and bottom outside it.
constexpr QRect Span(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

enum Group : int { kModeGroup, kSceneGroup, kLanguageGroup, kTransportGroup, kNoiseGateGroup, kOscGroup };
constexpr std::array<QRect, 6> kGroupRects{Span(10, 10, 220, 215),   Span(260, 10, 470, 215),
                                           Span(10, 230, 150, 300),  Span(167, 230, 307, 300),
                                           Span(324, 230, 464, 300), Span(10, 315, 470, 360)};
constexpr QRect kModeListRect = Span(15, 30, 215, 210);
constexpr QRect kSceneListRect = Span(265, 30, 465, 210);
// The drop-down parts reach down to 410; the closed selectors keep their own height.
constexpr QRect kLanguageRect = Span(25, 260, 135, 410);
constexpr QRect kTransportRect = Span(182, 260, 292, 410);
constexpr QRect kNoiseGateRect = Span(339, 260, 449, 410);

/// Shrinks the caption's font until it fits the box: the stand-in faces are
/// wider than the face the layout was made for, and a cut caption hides the
/// hint that the list has a right-button menu.
void SetFittingTitle(QGroupBox& box, const QString& title) {
  constexpr int kSmallestPixels = 8;
  constexpr int kFrameAllowance = 16;
  QFont font = box.parentWidget()->font();
  while (font.pixelSize() > kSmallestPixels &&
         QFontMetrics(font).horizontalAdvance(title) + kFrameAllowance > box.width()) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  box.setFont(font);
  box.setTitle(title);
}

// Positions of the transport selector: COM, USB, NET, as the settings number them.
constexpr int kTransportPositions = 3;

}  // namespace

SystemWindow::SystemWindow(LinkWorker& link, WindowOscHost& osc, QWidget* mainWindow)
    : QDialog(mainWindow),
      link_(link),
      mainWindow_(mainWindow),
      settings_(link.sceneFolders()),
      background_(LoadArtwork(163)),
      editor_(new CellEditor(this)) {
  setFixedSize(kClientSize);
  setModal(true);
  setPalette(ConsoleDialogPalette());
  // The window system's default GUI font is an 8-point face; the group captions are sized for it.
  QFont guiFont = font();
  guiFont.setPixelSize(11);
  setFont(guiFont);
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    groups_[i] = new QGroupBox(this);
    groups_[i]->setGeometry(kGroupRects[i]);
  }
  modeList_ = MakeList(kModeListRect);
  sceneList_ = MakeList(kSceneListRect);
  language_ = MakeSelector(kLanguageRect);
  transport_ = MakeSelector(kTransportRect);
  noiseGate_ = MakeSelector(kNoiseGateRect);

  for (int language = 0; language < static_cast<int>(kLanguageCount); ++language) {
    language_->addItem(QString::fromUtf8(LanguageName(static_cast<LanguageIndex>(language)).data()));
  }
  language_->setCurrentIndex(static_cast<int>(CurrentLanguage()));
  transport_->addItems({QStringLiteral("COM"), QStringLiteral("USB"), QStringLiteral("NET")});
  const ConnectionKind kind = link.context().connectionKind;
  transport_->setCurrentIndex(kind >= 0 && kind < kTransportPositions ? kind : -1);
  for (std::size_t position = 0; position < kSystemNoiseGateSteps.size(); ++position) {
    noiseGate_->addItem(QString::number(position));
  }
  noiseGate_->setCurrentIndex(-1);
  SelectNoiseGate();
  connect(language_, &QComboBox::activated, this, &SystemWindow::OnLanguage);
  connect(transport_, &QComboBox::activated, this, &SystemWindow::OnTransport);
  connect(noiseGate_, &QComboBox::activated, this, &SystemWindow::OnNoiseGate);

  modes_ = std::make_unique<SystemModeList>(*modeList_, *editor_, link, *this);
  scenes_ = std::make_unique<SystemSceneList>(*sceneList_, *editor_, link, link.sceneFolders(), *this);
  modes_->Fill();
  scenes_->Fill();
  osc_ = new SystemOscGroup(*groups_[kOscGroup], osc, settings_, *this);

  timer_.setInterval(kRefreshMs);
  connect(&timer_, &QTimer::timeout, this, &SystemWindow::PeriodicRefresh);
  if (mainWindow != nullptr) move(mainWindow->geometry().center() - rect().center());
  RefreshTexts();
}

SystemWindow::~SystemWindow() = default;

QTableWidget* SystemWindow::MakeList(const QRect& geometry) {
  auto* list = new QTableWidget(0, 2, this);
  list->setGeometry(geometry);
  list->verticalHeader()->hide();
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
  // Model number a quarter, name three quarters of the list.
  const int inner = geometry.width() - 2 * list->frameWidth();
  list->setColumnWidth(0, inner / 4);
  list->horizontalHeader()->setStretchLastSection(true);
  // The row a menu acts on is selected; it must not look like the current mode's blue mark.
  QPalette palette = list->palette();
  palette.setColor(QPalette::Highlight, QColor(0, 118, 108));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  list->setPalette(palette);
  list->viewport()->installEventFilter(this);
  return list;
}

QComboBox* SystemWindow::MakeSelector(const QRect& geometry) {
  auto* selector = new QComboBox(this);
  selector->setGeometry(geometry.left(), geometry.top(), geometry.width(), selector->sizeHint().height());
  selector->setMaxVisibleItems(10);
  return selector;
}

void SystemWindow::RefreshTexts() {
  setWindowTitle(Translated(LabelId::System));
  language_->setCurrentIndex(static_cast<int>(CurrentLanguage()));
  SetFittingTitle(*groups_[kModeGroup], Translated(LabelId::MachineModeStorage));
  SetFittingTitle(*groups_[kSceneGroup], Translated(LabelId::ComputerModeStorage));
  SetFittingTitle(*groups_[kLanguageGroup], QStringLiteral("Language"));
  SetFittingTitle(*groups_[kTransportGroup], Translated(LabelId::Computer));
  SetFittingTitle(*groups_[kNoiseGateGroup], Translated(LabelId::NoiseGate));
  SetFittingTitle(*groups_[kOscGroup], QStringLiteral("OSC"));
  osc_->RefreshTexts();
  const QStringList titles{Translated(LabelId::Model), Translated(LabelId::ModelName)};
  modeList_->setHorizontalHeaderLabels(titles);
  sceneList_->setHorizontalHeaderLabels(titles);
}

bool SystemWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool modeView = watched == modeList_->viewport();
  if ((modeView || watched == sceneList_->viewport()) && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    const auto* click = static_cast<QMouseEvent*>(event);
    // An edit in place ends first: finishing a scene save can add a row under the pointer.
    editor_->Finish();
    QTableWidget& list = modeView ? *modeList_ : *sceneList_;
    const QModelIndex cell = list.indexAt(click->position().toPoint());
    const int row = cell.isValid() ? cell.row() : -1;
    // The menu acts on the row it was opened on, and the user sees which one.
    if (row >= 0) {
      list.selectRow(row);
    } else {
      list.clearSelection();
    }
    if (modeView) {
      modes_->OnRightClick(row, click->globalPosition().toPoint());
    } else {
      scenes_->OnRightClick(row, click->globalPosition().toPoint());
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void SystemWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_.start();
  RefreshTexts();
}

void SystemWindow::hideEvent(QHideEvent* event) {
  // An edit still open goes with the window, without questions.
  editor_->Discard();
  timer_.stop();
  QDialog::hideEvent(event);
}

void SystemWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), background_);
}

void SystemWindow::keyPressEvent(QKeyEvent* event) {
  // Enter is the dialog's OK, which this window does not have.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

void SystemWindow::OnLanguage(int index) {
  if (!SetCurrentLanguage(static_cast<LanguageIndex>(index))) return;
  if (!settings_.WriteSettingInt(kLanguageSettingsFile, kLanguageKey, index)) {
    (void)ShowMessageBox(this, MessageStyle::Ok, Translated(LabelId::SaveFailed));
  }
  RefreshTexts();
  if (mainWindow_ != nullptr) PostWindowMessage(mainWindow_, kRetranslate, index, index);
}

void SystemWindow::OnTransport(int index) {
  const bool stored =
      settings_.WriteSettingInt(kConfigurationSettingsFile, kConnectionKindKey, index) &&
      settings_.WriteSettingInt(kConfigurationSettingsFile, kSerialSpeedKey, link_.context().serialBaudRate);
  (void)ShowMessageBox(this, MessageStyle::Ok, Translated(stored ? LabelId::ModifySuccessRestart : LabelId::SaveFailed));
}

void SystemWindow::OnNoiseGate(int index) {
  if (index < 0 || index >= static_cast<int>(kSystemNoiseGateSteps.size())) return;
  ParamSet(link_.params(), address::kSystemNoiseGate, kSystemNoiseGateSteps[static_cast<std::size_t>(index)]);
}

void SystemWindow::SelectNoiseGate() {
  const std::optional<int> position = SystemNoiseGatePosition(link_.params().Value(address::kSystemNoiseGate));
  if (position && *position != noiseGate_->currentIndex()) noiseGate_->setCurrentIndex(*position);
}

void SystemWindow::PeriodicRefresh() {
  modes_->RefreshNames();
  SelectNoiseGate();
  link_.params()[address::kCurrentMode].rereadRequested.store(true);
  modes_->HighlightCurrentMode();
}

}  // namespace rmt4::ui
