#include "ui/main/history_window.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <unordered_map>

#include "i18n/name_arrays.h"
#include "ui/editors/console_palette.h"
#include "ui/platform/translated.h"
#include "values/editor_codes.h"
#include "values/param_catalogue.h"

namespace rmt4::ui {
namespace {

constexpr QSize kInitialSize(620, 440);
// As many rows as the log keeps of the day in memory.
constexpr std::size_t kMostShown = ChangeLogLimits{}.recentEntries;
// The entry a row shows, as its index since the window opened.
constexpr int kEntryRole = Qt::UserRole;
// A filter choice's label row.
constexpr int kLabelRole = Qt::UserRole + 1;

/// The channel each parameter name belongs to, from the catalogue.
const std::string& ChannelOf(const std::string& name) {
  static const std::unordered_map<std::string, std::string> channels = [] {
    std::unordered_map<std::string, std::string> byName;
    for (const ParamInfo& info : ParamCatalogue()) byName.emplace(info.name, info.channel);
    return byName;
  }();
  static const std::string none;
  const auto found = channels.find(name);
  return found == channels.end() ? none : found->second;
}

/// The filter's choices after "All": every channel as the strips name it, then the system words.
std::vector<std::pair<std::string, LabelId>> Channels() {
  std::vector<std::pair<std::string, LabelId>> channels;
  for (int channel = 0; channel <= kLastEditorChannel; ++channel) {
    channels.emplace_back(ChannelName(channel), channel < kMainChannel ? kInputChannelLabels[channel]
                                                                        : kOutputBusLabels[channel - kMainChannel]);
  }
  channels.emplace_back(kSystemChannel, LabelId::System);
  return channels;
}

QString WhoCaption(const std::string& who) {
  if (who == "pc") return Translated(LabelId::ChangedByPc);
  if (who == "console") return Translated(LabelId::ChangedByConsole);
  if (who == "undo") return Translated(LabelId::ChangedByUndo);
  if (who == "redo") return Translated(LabelId::ChangedByRedo);
  return QString::fromStdString(who);
}

}  // namespace

HistoryWindow::HistoryWindow(ChangeLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), channels_(new QComboBox(this)), table_(new QTableWidget(this)) {
  setPalette(ConsoleDialogPalette());
  setAutoFillBackground(true);
  resize(kInitialSize);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(channels_, 0, Qt::AlignLeft);
  layout->addWidget(table_);
  channels_->addItem(QString(), QString());
  for (const auto& [channel, label] : Channels()) {
    channels_->addItem(QString(), QString::fromStdString(channel));
    channels_->setItemData(channels_->count() - 1, static_cast<int>(label), kLabelRole);
  }
  table_->setColumnCount(kColumnCount);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  Retranslate();

  connect(channels_, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OnDoubleClick(row); });
  // The day so far, then what comes in; the log tells on the thread that records, so it comes here queued.
  Add(log_.TodaysEntries());
  log_.SetEntryListener([this](const std::vector<ChangeLogEntry>& entries) {
    QMetaObject::invokeMethod(this, [this, entries] { Add(entries); }, Qt::QueuedConnection);
  });
}

HistoryWindow::~HistoryWindow() { log_.SetEntryListener({}); }

void HistoryWindow::Retranslate() {
  setWindowTitle(Translated(LabelId::History));
  channels_->setItemText(0, Translated(LabelId::HistoryAllChannels));
  for (int i = 1; i < channels_->count(); ++i) {
    channels_->setItemText(i, Translated(static_cast<LabelId>(channels_->itemData(i, kLabelRole).toInt())));
  }
  table_->setHorizontalHeaderLabels({Translated(LabelId::HistoryTime), Translated(LabelId::HistoryWho),
                                     Translated(LabelId::HistoryParameter), Translated(LabelId::HistoryChange)});
  Refill();
}

void HistoryWindow::Add(const std::vector<ChangeLogEntry>& entries) {
  for (const ChangeLogEntry& entry : entries) {
    shown_.push_back({entry, entry.isNote() ? std::string() : ChannelOf(entry.name)});
    if (Passes(shown_.back())) InsertOnTop(shown_.size() - 1);
  }
  while (shown_.size() > kMostShown) {
    shown_.pop_front();
    ++droppedFront_;
  }
  const auto firstKept = static_cast<qulonglong>(droppedFront_);
  while (table_->rowCount() > 0 &&
         table_->item(table_->rowCount() - 1, kTime)->data(kEntryRole).toULongLong() < firstKept) {
    table_->removeRow(table_->rowCount() - 1);
  }
}

void HistoryWindow::Refill() {
  table_->setRowCount(0);
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    if (Passes(shown_[i])) InsertOnTop(i);
  }
}

bool HistoryWindow::Passes(const Shown& shown) const {
  const QString channel = channels_->currentData().toString();
  return channel.isEmpty() || shown.entry.isNote() || channel.toStdString() == shown.channel;
}

void HistoryWindow::InsertOnTop(std::size_t index) {
  const ChangeLogEntry& entry = shown_[index].entry;
  table_->insertRow(0);
  const auto cell = [this](int column, const std::string& text) {
    table_->setItem(0, column, new QTableWidgetItem(QString::fromStdString(text)));
  };
  cell(kTime, FormatTimeOfDay(entry.msOfDay));
  table_->item(0, kTime)->setData(kEntryRole, static_cast<qulonglong>(droppedFront_ + index));
  table_->setItem(0, kWho, new QTableWidgetItem(WhoCaption(entry.who)));
  if (entry.isNote()) {
    cell(kParameter, entry.note);
  } else {
    cell(kParameter, entry.name);
    cell(kChange, entry.before + " → " + entry.after);
  }
}

void HistoryWindow::OnDoubleClick(int row) {
  const QTableWidgetItem* item = table_->item(row, kTime);
  if (item == nullptr) return;
  const qulonglong index = item->data(kEntryRole).toULongLong();
  if (index < droppedFront_ || index - droppedFront_ >= shown_.size()) return;
  const ChangeLogEntry& entry = shown_[index - droppedFront_].entry;
  // Only this run's own steps are in its undo history.
  if (entry.who == ChangeSourceName(ChangeSource::kPc) && entry.thisRun && entry.step) emit undoBackToRequested(*entry.step);
}

}  // namespace rmt4::ui
